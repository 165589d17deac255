// Owner-drawn list box whose rows can carry a check box and an image. Bound to a dialog list
// box declared LBS_OWNERDRAWFIXED | LBS_HASSTRINGS (the owner-draw mode is fixed when the
// control is made), or created. The list owns its row records and its image list.
//
// A left-button release inside the check box of the selected row toggles it; Space toggles
// the selected row and tells the parent LBN_SELCHANGE, so that it acts on the change at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "toolkit/ListRows.h"
#include "toolkit/win/TWindow.h"

class ListBox : public TWindow {
public:
    enum Style : unsigned { kCheckBoxes = 1, kImages = 2 };

    ListBox();
    ~ListBox() override;

    bool Bind(HWND dialog, int id, unsigned style, HIMAGELIST images);
    bool Create(TWindow* parent, int id, unsigned style, HIMAGELIST images, const RECT& where);

    // Appends a row with a copy of the record; its index, -1 on failure.
    int AddRow(const char* text, const ListBoxRow& row);
    ListBoxRow* Row(int index) const;
    int Count() const;
    int Selected() const;
    void Select(int index);
    // Empties the list and deletes the records.
    void Clear();
    // Toggles a row as a click or Space would; repaints it.
    bool Toggle(int index);

    LRESULT OnDrawItem(DRAWITEMSTRUCT* item) override;
    LRESULT OnMeasureItem(MEASUREITEMSTRUCT* item) override;
    LRESULT OnLButtonUp(int x, int y, UINT keys) override;
    LRESULT OnKeyUp(UINT key, UINT flags) override;
    LRESULT OnSetFocus(HWND losing) override;
    LRESULT OnKillFocus(HWND receiving) override;
    // The control erases what no row covers.
    LRESULT OnEraseBackground(HDC dc) override;

private:
    void Adopt(unsigned style, HIMAGELIST images);
    int RowHeight() const;
    ListRowParts Parts(const RECT& row) const;

    unsigned style = 0;
    HIMAGELIST imageList = nullptr;
    TSize imageSize;
    std::vector<std::unique_ptr<ListBoxRow>> rows;
};
