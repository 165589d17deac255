// POSIX side of the desktop file system: lstat and readdir. A symbolic link is reported as a
// reparse point, a directory too when it leads to one.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "filemanager/LocalFileSystem.h"

namespace {

constexpr uint32_t kAttributeNormal = 0x80;
// Seconds between 1601-01-01 and 1970-01-01, the two epochs.
constexpr uint64_t kEpochDifference = 11644473600ull;

uint64_t FileTime(const timespec& t)
{
    return (static_cast<uint64_t>(t.tv_sec) + kEpochDifference) * 10000000ull +
           static_cast<uint64_t>(t.tv_nsec) / 100;
}

class PosixFileSystem : public LocalFileSystem {
public:
    char Separator() const override { return '/'; }

    bool Find(const GString& path, FindData& out) override
    {
        struct stat link;
        if (lstat(path.CStr(), &link) != 0)
            return false;
        struct stat target = link;
        uint32_t attributes = 0;
        if (S_ISLNK(link.st_mode)) {
            attributes |= kAttributeReparsePoint;
            if (stat(path.CStr(), &target) != 0)
                target = link;
        }
        if (S_ISDIR(target.st_mode))
            attributes |= kAttributeDirectory;
        out = FindData{};
        out.attributes = attributes != 0 ? attributes : kAttributeNormal;
        out.lastWriteTime = FileTime(target.st_mtim);
        out.lastAccessTime = FileTime(target.st_atim);
        out.creationTime = out.lastWriteTime;
        if (!S_ISDIR(target.st_mode)) {
            const uint64_t size = static_cast<uint64_t>(target.st_size);
            out.sizeHigh = static_cast<uint32_t>(size >> 32);
            out.sizeLow = static_cast<uint32_t>(size);
        }
        const char* slash = std::strrchr(path.CStr(), '/');
        const char* name = slash != nullptr ? slash + 1 : path.CStr();
        std::strncpy(out.fileName, name, sizeof out.fileName - 1);
        return true;
    }

    bool List(const GString& path, std::vector<FindData>& out) override
    {
        out.clear();
        DIR* dir = opendir(path.CStr());
        if (dir == nullptr)
            return false;
        while (const dirent* d = readdir(dir)) {
            if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
                continue;
            GString child(path);
            child.AppendChar('/');
            child.Append(d->d_name);
            FindData data;
            if (Find(child, data))
                out.push_back(data);
        }
        closedir(dir);
        return true;
    }
};

}  // namespace

LocalFileSystem& SystemFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}
