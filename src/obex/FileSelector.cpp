#include "obex/FileSelector.h"

#include <cstring>

FileSelector::FileSelector() : fileBuffer(kBufferSize, '\0'), titleBuffer(kBufferSize, '\0') {}

FileSelector::~FileSelector() { files.DeleteAll(); }

bool FileSelector::ParsePaths(const char* buffer, size_t capacity, size_t fileOffset,
                              GString& folder, std::vector<GString>& paths)
{
    paths.clear();
    if (buffer == nullptr || fileOffset == 0 || fileOffset >= capacity)
        return false;
    const size_t folderLength = strnlen(buffer, fileOffset);
    const bool several = buffer[fileOffset - 1] == '\0';
    // The folder runs up to the offset (one file) or up to the NUL just before it (several);
    // a NUL anywhere else means the offset does not belong to this text.
    if (folderLength != (several ? fileOffset - 1 : fileOffset) || folderLength == 0)
        return false;
    GString base(buffer, static_cast<uint32_t>(folderLength));
    const bool endsInSeparator = buffer[folderLength - 1] == '\\';

    std::vector<GString> found;
    for (size_t at = fileOffset;;) {
        if (at >= capacity)
            return false;  // the list's closing empty name lies outside
        const size_t length = strnlen(buffer + at, capacity - at);
        if (at + length >= capacity)
            return false;  // a name without its NUL
        if (length == 0)
            break;  // the empty name that ends a list
        GString path(base);
        if (!endsInSeparator)
            path.AppendChar('\\');
        path.Append(buffer + at, static_cast<uint32_t>(length));
        found.push_back(path);
        if (!several)
            break;
        at += length + 1;
    }
    if (found.empty())
        return false;
    folder = base;
    paths = std::move(found);
    return true;
}
