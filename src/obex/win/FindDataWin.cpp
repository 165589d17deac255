#include "obex/win/FindDataWin.h"

#include <cstring>

namespace {
uint64_t Time64(const FILETIME& t)
{
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}
}  // namespace

void CopyFindData(const WIN32_FIND_DATAA& found, FindData& out)
{
    out.attributes = found.dwFileAttributes;
    out.creationTime = Time64(found.ftCreationTime);
    out.lastAccessTime = Time64(found.ftLastAccessTime);
    out.lastWriteTime = Time64(found.ftLastWriteTime);
    out.sizeHigh = found.nFileSizeHigh;
    out.sizeLow = found.nFileSizeLow;
    static_assert(sizeof out.fileName == sizeof found.cFileName);
    static_assert(sizeof out.alternateFileName == sizeof found.cAlternateFileName);
    std::memcpy(out.fileName, found.cFileName, sizeof out.fileName);
    out.fileName[sizeof out.fileName - 1] = 0;
    std::memcpy(out.alternateFileName, found.cAlternateFileName, sizeof out.alternateFileName);
    out.alternateFileName[sizeof out.alternateFileName - 1] = 0;
}

bool FileInformationFromPath(const char* path, FileInformation& info)
{
    info.path = path;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(path, &found);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FindClose(h);
    CopyFindData(found, info.findData);
    return true;
}
