#include <windows.h>

#include <cstring>

#include "filemanager/LocalFileSystem.h"
#include "obex/win/FindDataWin.h"

namespace {

class WindowsFileSystem : public LocalFileSystem {
public:
    char Separator() const override { return '\\'; }

    bool Find(const GString& path, FindData& out) override
    {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA(path.CStr(), &found);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        FindClose(h);
        CopyFindData(found, out);
        return true;
    }

    bool List(const GString& path, std::vector<FindData>& out) override
    {
        out.clear();
        GString pattern(path);
        pattern.Append("\\*.*");
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA(pattern.CStr(), &found);
        if (h == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
                continue;
            FindData data;
            CopyFindData(found, data);
            out.push_back(data);
        } while (FindNextFileA(h, &found));
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
