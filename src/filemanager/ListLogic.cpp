#include "filemanager/ListLogic.h"

#include <cstring>

int CompareEntries(const FolderObject* a, const FolderObject* b)
{
    if (a == nullptr || b == nullptr)
        return 0;
    const bool aFolder = a->type == FolderObject::kFolder;
    const bool bFolder = b->type == FolderObject::kFolder;
    if (aFolder != bFolder)
        return aFolder ? -1 : 1;
    // Byte-wise with the shorter name first on a common prefix, as memcmp on unsigned bytes.
    const uint32_t la = a->name.Length();
    const uint32_t lb = b->name.Length();
    const int c = std::memcmp(a->name.CStr(), b->name.CStr(), la < lb ? la : lb);
    if (c != 0)
        return c;
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

namespace {
struct ViewStyle {
    uint32_t command;
    int viewCode;
};
// The list control's codes: 0 icons, 1 details, 2 small icons, 3 list.
constexpr ViewStyle kViewStyles[] = {
    {kCommandLargeIcons, 0},
    {kCommandSmallIcons, 2},
    {kCommandList, 3},
    {kCommandDetails, 1},
};
}  // namespace

int ViewCodeForCommand(uint32_t command)
{
    for (const ViewStyle& s : kViewStyles) {
        if (s.command == command)
            return s.viewCode;
    }
    return -1;
}

uint32_t CommandForViewCode(int viewCode)
{
    for (const ViewStyle& s : kViewStyles) {
        if (s.viewCode == viewCode)
            return s.command;
    }
    return 0;
}

namespace {
uint64_t FileBytes(const std::vector<const FolderObject*>& entries)
{
    uint64_t sum = 0;
    for (const FolderObject* e : entries) {
        if (e != nullptr && e->type == FolderObject::kFile)
            sum += e->size;
    }
    return sum;
}
}  // namespace

ListStatus ComputeListStatus(const std::vector<const FolderObject*>& items,
                             const std::vector<const FolderObject*>& selected,
                             const FileAccessCapabilities& capabilities,
                             bool clipboardOffersFiles)
{
    ListStatus status;
    status.commands.paste = clipboardOffersFiles && capabilities.copyToDevice;
    if (selected.empty()) {
        status.text.Format("Объектов: %d", static_cast<int>(items.size()));
        status.size = FileBytes(items);
        status.showSize = true;
        return status;
    }
    status.commands.copy = capabilities.copyFromDevice;
    status.commands.del = capabilities.canDelete;
    status.commands.rename = capabilities.rename;
    status.text.Format("Выделено объектов: %d", static_cast<int>(selected.size()));
    status.size = FileBytes(selected);
    status.showSize = status.size != 0;
    return status;
}
