#include "filemanager/UploadList.h"

#include <cstring>

namespace {

bool HoldsWildcard(const char* text)
{
    return std::strpbrk(text, "?*") != nullptr;
}

// The part after the last '\\' or '/'.
uint32_t NameStart(const GString& path)
{
    uint32_t start = 0;
    for (uint32_t i = 0; i < path.Length(); ++i) {
        const char c = path.CStr()[i];
        if (c == '\\' || c == '/')
            start = i + 1;
    }
    return start;
}

}  // namespace

void UploadList::Collect(const std::vector<GString>& droppedPaths, LocalFileSystem& fileSystem)
{
    records.clear();
    skipped.clear();
    totalBytes = 0;
    fileCount = 0;
    GString previousFolder;
    uint32_t group = 0;
    bool first = true;
    for (const GString& path : droppedPaths) {
        if (HoldsWildcard(path.CStr())) {
            Skip(path, SkipReason::NameNotRepresentable);
            continue;
        }
        if (path.Length() > kMaxPath) {
            Skip(path, SkipReason::PathTooLong);
            continue;
        }
        FindData found;
        if (!fileSystem.Find(path, found)) {
            Skip(path, SkipReason::NotFound);
            continue;
        }
        const uint32_t nameStart = NameStart(path);
        if (std::strcmp(found.fileName, path.CStr() + nameStart) != 0) {
            Skip(path, SkipReason::NameChanged);
            continue;
        }
        const GString folder(path.CStr(), nameStart);
        if (!first && !folder.Equals(previousFolder))
            ++group;
        first = false;
        previousFolder = folder;
        Add(path, found, 0, group, fileSystem);
    }
}

void UploadList::Add(const GString& path, const FindData& found, uint32_t depth, uint32_t group,
                     LocalFileSystem& fileSystem)
{
    const bool folder = (found.attributes & kAttributeDirectory) != 0;
    // A junction can lead back up its own tree: walking it never ends.
    if (folder && (found.attributes & kAttributeReparsePoint) != 0) {
        Skip(path, SkipReason::ReparsePoint);
        return;
    }
    UploadRecord record;
    record.file.findData = found;
    record.file.path = path;
    record.depth = depth;
    record.group = group;
    if (!folder) {
        record.fileNumber = ++fileCount;
        totalBytes += record.Size();
    }
    records.push_back(record);
    if (folder)
        AddContents(path, depth + 1, group, fileSystem);
}

void UploadList::AddContents(const GString& folder, uint32_t depth, uint32_t group,
                             LocalFileSystem& fileSystem)
{
    std::vector<FindData> objects;
    if (!fileSystem.List(folder, objects)) {
        Skip(folder, SkipReason::Unreadable);
        return;
    }
    for (const FindData& object : objects) {
        GString path(folder);
        path.AppendChar(fileSystem.Separator());
        path.Append(object.fileName);
        if (HoldsWildcard(object.fileName))
            Skip(path, SkipReason::NameNotRepresentable);
        else if (path.Length() > kMaxPath)
            Skip(path, SkipReason::PathTooLong);
        else
            Add(path, object, depth, group, fileSystem);
    }
}
