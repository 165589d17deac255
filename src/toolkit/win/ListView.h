// Typed wrapper of the list-view control: columns, items and their texts, images and data,
// the view, the selection. Created (client edge, shared image lists, selection always shown)
// or bound to a dialog's list view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "toolkit/win/TWindow.h"

class ListView : public TWindow {
public:
    // View codes, the control's own: large icons, report table, small icons, list.
    enum View { kLargeIcons = 0, kReport = 1, kSmallIcons = 2, kList = 3 };
    static constexpr int kNoImage = -1;

    ListView() = default;
    ~ListView() override;

    // A list-view child of the parent; extra LVS_ style bits as the window needs them
    // (LVS_EDITLABELS, LVS_SINGLESEL, ...).
    bool Create(TWindow* parent, int id, DWORD extraStyle, View view);
    bool Bind(HWND dialog, int id);

    int InsertColumn(int index, const char* title, int width, int format = LVCFMT_LEFT);
    // Inserts an item at the index (its text is column 0); its index, -1 on failure.
    int InsertItem(int index, const char* text, int image = kNoImage, LPARAM data = 0);
    // Column 0 may change its image too; other columns ignore it.
    bool SetItemText(int row, int column, const char* text, int image = kNoImage);
    GString ItemText(int row, int column) const;
    bool GetItem(LVITEMA& item) const;
    LPARAM ItemData(int row) const;
    bool SetItemData(int row, LPARAM data);
    int ItemCount() const;
    bool DeleteItem(int row);
    bool DeleteAllItems();

    void SetView(View view);
    View GetView() const;
    void SetImageLists(HIMAGELIST small, HIMAGELIST large);

    int SelectedCount() const;
    // The next selected item after the given one (-1: from the start); -1 when none.
    int NextSelected(int after = -1) const;
    int FocusedItem() const;
    void SetItemState(int row, UINT state, UINT mask);
    void SelectAll();
    bool EnsureVisible(int row);
    HWND EditLabel(int row);
    bool SortItems(PFNLVCOMPARE compare, LPARAM param);

    // The control paints its own background.
    LRESULT OnEraseBackground(HDC dc) override;
};
