#include <windows.h>

#include <cstring>
#include <string>

#include "filemanager/LocalFileSystem.h"
#include "filemanager/win/WideNames.h"

namespace {

uint64_t Time64(const FILETIME& t)
{
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The wide form of an ANSI path; every byte of the code page has one.
std::wstring WidePath(const GString& path)
{
    const int needed = MultiByteToWideChar(CP_ACP, 0, path.CStr(), -1, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.CStr(), -1, wide.data(), needed);
    wide.resize(static_cast<size_t>(needed - 1));
    return wide;
}

void CopyName(const wchar_t* wide, char* out, size_t capacity)
{
    // A name longer than the field makes a path the upload refuses as too long.
    const GString name = AnsiName(wide);
    const size_t n = name.Length() < capacity ? name.Length() : capacity - 1;
    std::memcpy(out, name.CStr(), n);
    out[n] = 0;
}

// The names are read as the file system holds them and turned into ANSI without look-alikes,
// so a name the code page cannot hold carries a '?' and the upload leaves it out.
void CopyFindData(const WIN32_FIND_DATAW& found, FindData& out)
{
    out.attributes = found.dwFileAttributes;
    out.creationTime = Time64(found.ftCreationTime);
    out.lastAccessTime = Time64(found.ftLastAccessTime);
    out.lastWriteTime = Time64(found.ftLastWriteTime);
    out.sizeHigh = found.nFileSizeHigh;
    out.sizeLow = found.nFileSizeLow;
    CopyName(found.cFileName, out.fileName, sizeof out.fileName);
    CopyName(found.cAlternateFileName, out.alternateFileName, sizeof out.alternateFileName);
}

class WindowsFileSystem : public LocalFileSystem {
public:
    char Separator() const override { return '\\'; }

    bool Find(const GString& path, FindData& out) override
    {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(WidePath(path).c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        FindClose(h);
        CopyFindData(found, out);
        return true;
    }

    bool List(const GString& path, std::vector<FindData>& out) override
    {
        out.clear();
        const std::wstring pattern = WidePath(path) + L"\\*.*";
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(pattern.c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0)
                continue;
            FindData data;
            CopyFindData(found, data);
            out.push_back(data);
        } while (FindNextFileW(h, &found));
        const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(h);
        return complete;
    }
};

}  // namespace

LocalFileSystem& SystemFileSystem()
{
    static WindowsFileSystem fileSystem;
    return fileSystem;
}
