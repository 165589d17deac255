// The file list: the toolkit's list view in owner-data mode over a sorted copy of the last
// listing, so that ten thousand entries show at once and only the visible rows are ever
// formatted. Each row stands for one entry of `shownEntries`; a new folder's placeholder,
// when there is one, is the row after them and has no entry.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "obex/FTP.h"
#include "toolkit/win/ListView.h"

class FileManagerWindow;

class FileManagerListView : public ListView {
public:
    bool Create(FileManagerWindow* owner, int view);
    // Image lists of the shell, shared; the large one only when it exists.
    void SetSystemImageLists(HIMAGELIST small, HIMAGELIST large);

    // Shows a listing in the order given (the listing workers sort it), nothing selected but
    // the first row, which is also focused.
    void ShowEntries(std::vector<FolderObject> entries);
    void Clear();
    // The entry of a row; null for the placeholder and rows out of range.
    const FolderObject* EntryAt(int row) const;
    int RowCount() const { return static_cast<int>(shownEntries.size()) + (placeholder ? 1 : 0); }
    // The selected entries in list order (the placeholder is not one).
    std::vector<const FolderObject*> SelectedEntries() const;
    std::vector<const FolderObject*> AllEntries() const;
    // Appends the placeholder of a new folder; its row.
    int AddPlaceholder();
    void RemovePlaceholder();
    bool HasPlaceholder() const { return placeholder; }
    void RenameEntry(int row, const GString& name);
    // The row whose entry has this name, -1 when none.
    int FindRow(const GString& name) const;
    void SelectOnly(int row);

    // The owner's WM_NOTIFY answers for the owner-data list.
    void FillDisplayInfo(NMLVDISPINFOA* info);
    int FindItem(const NMLVFINDITEMA* find) const;

    LRESULT OnKeyUp(UINT key, UINT flags) override;

private:
    int EntryIcon(const FolderObject& entry);

    FileManagerWindow* owner = nullptr;
    std::vector<FolderObject> shownEntries;
    bool placeholder = false;
    // System image list index of a file, by its lower-case extension.
    std::map<std::string, int> iconByExtension;
    int folderIcon = -1;  // asked once
};
