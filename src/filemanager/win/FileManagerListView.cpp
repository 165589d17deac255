#include "filemanager/win/FileManagerListView.h"

#include <shellapi.h>

#include "filemanager/FileManagerRules.h"
#include "filemanager/win/DateTimeText.h"
#include "filemanager/win/FileManagerWindow.h"
#include "resources/resource.h"

namespace {

// The folder picture of the shell's system image list.
constexpr int kFolderIcon = 3;

void CopyText(NMLVDISPINFOA* info, const char* text)
{
    if (info->item.pszText == nullptr || info->item.cchTextMax <= 0)
        return;
    lstrcpynA(info->item.pszText, text, info->item.cchTextMax);
}

bool StartsWithIgnoringCase(const GString& name, const char* prefix)
{
    const int length = lstrlenA(prefix);
    if (length == 0 || static_cast<uint32_t>(length) > name.Length())
        return false;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.CStr(), length, prefix, length) == CSTR_EQUAL;
}

}  // namespace

bool FileManagerListView::Create(FileManagerWindow* ownerWindow, int view)
{
    owner = ownerWindow;
    if (!ListView::Create(owner, IDC_FILE_LIST, LVS_EDITLABELS | LVS_OWNERDATA, static_cast<View>(view)))
        return false;
    InsertColumn(0, "Имя", 300, LVCFMT_LEFT);
    InsertColumn(1, "Размер", 80, LVCFMT_RIGHT);
    InsertColumn(2, "Изменён", 200, LVCFMT_RIGHT);
    return true;
}

void FileManagerListView::SetSystemImageLists(HIMAGELIST small, HIMAGELIST large) { SetImageLists(small, large); }

void FileManagerListView::ShowEntries(std::vector<FolderObject> entries)
{
    shownEntries = std::move(entries);
    placeholder = false;
    SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(handle, LVM_SETITEMCOUNT, shownEntries.size(), 0);
    if (!shownEntries.empty()) {
        SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(0);
    }
    Invalidate();
}

void FileManagerListView::Clear() { ShowEntries({}); }

const FolderObject* FileManagerListView::EntryAt(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= shownEntries.size())
        return nullptr;
    return &shownEntries[static_cast<size_t>(row)];
}

std::vector<const FolderObject*> FileManagerListView::SelectedEntries() const
{
    std::vector<const FolderObject*> selected;
    for (int row = NextSelected(-1); row >= 0; row = NextSelected(row)) {
        if (const FolderObject* entry = EntryAt(row))
            selected.push_back(entry);
    }
    return selected;
}

std::vector<const FolderObject*> FileManagerListView::AllEntries() const
{
    std::vector<const FolderObject*> all;
    all.reserve(shownEntries.size());
    for (const FolderObject& entry : shownEntries)
        all.push_back(&entry);
    return all;
}

int FileManagerListView::AddPlaceholder()
{
    placeholder = true;
    const int row = RowCount() - 1;
    SendMessageA(handle, LVM_SETITEMCOUNT, RowCount(), LVSICF_NOSCROLL);
    SelectOnly(row);
    EnsureVisible(row);
    return row;
}

void FileManagerListView::RemovePlaceholder()
{
    if (!placeholder)
        return;
    placeholder = false;
    SetItemState(RowCount(), 0, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(handle, LVM_SETITEMCOUNT, RowCount(), LVSICF_NOSCROLL);
    Invalidate();
}

void FileManagerListView::RenameEntry(int row, const GString& name)
{
    if (row < 0 || static_cast<size_t>(row) >= shownEntries.size())
        return;
    FolderObject& entry = shownEntries[static_cast<size_t>(row)];
    entry.name = name;
    if (entry.type == FolderObject::kFile)
        entry.SetExtensionFromName();
    SendMessageA(handle, LVM_REDRAWITEMS, row, row);
}

int FileManagerListView::FindRow(const GString& name) const
{
    for (size_t i = 0; i < shownEntries.size(); ++i) {
        if (shownEntries[i].name.Equals(name))
            return static_cast<int>(i);
    }
    return -1;
}

void FileManagerListView::SelectOnly(int row)
{
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int FileManagerListView::EntryIcon(const FolderObject& entry)
{
    if (entry.type == FolderObject::kFolder) {
        // Where the system keeps the folder picture elsewhere than its usual place, the shell
        // says so.
        if (folderIcon < 0) {
            SHFILEINFOA info{};
            folderIcon = SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0
                             ? info.iIcon
                             : kFolderIcon;
        }
        return folderIcon;
    }
    // The shell is asked for a file of that extension with normal attributes: no file is
    // touched, and one question per extension serves a whole folder of photos.
    char extension[MAX_PATH] = {};
    lstrcpynA(extension, entry.extension.CStr(), sizeof extension);
    CharLowerBuffA(extension, static_cast<DWORD>(lstrlenA(extension)));
    auto found = iconByExtension.find(extension);
    if (found != iconByExtension.end())
        return found->second;
    GString probe("file");
    probe.Append(extension);
    SHFILEINFOA info{};
    int icon = 0;
    if (SHGetFileInfoA(probe.CStr(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0)
        icon = info.iIcon;
    iconByExtension.emplace(extension, icon);
    return icon;
}

void FileManagerListView::FillDisplayInfo(NMLVDISPINFOA* info)
{
    LVITEMA& item = info->item;
    const FolderObject* entry = EntryAt(item.iItem);
    if (entry == nullptr) {
        // The placeholder of a new folder: its text only.
        if ((item.mask & LVIF_TEXT) != 0)
            CopyText(info, item.iSubItem == 0 && placeholder ? kNewFolderName : "");
        if ((item.mask & LVIF_IMAGE) != 0)
            item.iImage = I_IMAGENONE;
        return;
    }
    if ((item.mask & LVIF_TEXT) != 0) {
        switch (item.iSubItem) {
        case 0: CopyText(info, entry->name.CStr()); break;
        case 1: CopyText(info, entry->sizeText.CStr()); break;
        case 2: CopyText(info, FormatDateTime(entry->time).CStr()); break;
        default: CopyText(info, ""); break;
        }
    }
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0)
        item.iImage = EntryIcon(*entry);
}

int FileManagerListView::FindItem(const NMLVFINDITEMA* find) const
{
    if (find == nullptr || (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr)
        return -1;
    const int count = static_cast<int>(shownEntries.size());
    if (count == 0)
        return -1;
    const int start = find->iStart >= 0 && find->iStart < count ? find->iStart : 0;
    const bool wrap = (find->lvfi.flags & LVFI_WRAP) != 0;
    const int steps = wrap ? count : count - start;
    for (int i = 0; i < steps; ++i) {
        const int row = (start + i) % count;
        const GString& name = shownEntries[static_cast<size_t>(row)].name;
        const bool match = (find->lvfi.flags & LVFI_PARTIAL) != 0 ? StartsWithIgnoringCase(name, find->lvfi.psz)
                                                                  : lstrcmpiA(name.CStr(), find->lvfi.psz) == 0;
        if (match)
            return row;
    }
    return -1;
}

LRESULT FileManagerListView::OnKeyUp(UINT key, UINT)
{
    switch (key) {
    case VK_SPACE:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        owner->UpdateStatus();
        break;
    case VK_F2:
        owner->RenameFocused();
        break;
    default:
        break;
    }
    // The control sees the key too.
    return kNotHandled;
}
