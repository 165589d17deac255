#include "filemanager/OutgoingFiles.h"

#include <cstring>

OutgoingFiles::OutgoingFiles(PhoneItemSet items, GString startFolder)
    : set(std::move(items)), start(std::move(startFolder)), delivered(set.items.size(), false)
{
}

void OutgoingFiles::MarkDelivered(size_t index)
{
    if (IsFile(index))
        delivered[index] = true;
}

bool OutgoingFiles::AllFilesDelivered() const
{
    for (size_t i = 0; i < set.items.size(); ++i) {
        if (IsFile(i) && !delivered[i])
            return false;
    }
    return true;
}

uint32_t OutgoingFiles::FileNumber(size_t index) const
{
    uint32_t number = 0;
    for (size_t i = 0; i <= index && i < set.items.size(); ++i) {
        if (IsFile(i))
            ++number;
    }
    return number;
}

uint32_t OutgoingFiles::FileCount() const { return FileNumber(set.items.size()); }

bool OutgoingFiles::TreeDelivered(const PhoneItem& folder) const
{
    if (!folder.complete)
        return false;
    // Everything below the folder has a phone folder that is its path or starts with it.
    const GString path = folder.PhonePath();
    for (size_t i = 0; i < set.items.size(); ++i) {
        const GString& where = set.items[i].phoneFolder;
        const bool inside = where.Equals(path) ||
                            (where.Length() > path.Length() && where.CStr()[path.Length()] == '\\' &&
                             std::strncmp(where.CStr(), path.CStr(), path.Length()) == 0);
        if (!inside)
            continue;
        if (set.items[i].isFolder ? !set.items[i].complete : !delivered[i])
            return false;
    }
    return true;
}

std::vector<FolderObject> OutgoingFiles::MoveSelection() const
{
    std::vector<FolderObject> selection;
    for (size_t i = 0; i < set.items.size(); ++i) {
        const PhoneItem& item = set.items[i];
        if (!item.phoneFolder.IsEmpty())
            continue;  // the selected objects come first, at the top of the set
        if (item.isFolder ? !TreeDelivered(item) : !delivered[i])
            continue;
        FolderObject entry;
        entry.type = item.isFolder ? FolderObject::kFolder : FolderObject::kFile;
        entry.name = item.phoneName;
        selection.push_back(entry);
    }
    return selection;
}
