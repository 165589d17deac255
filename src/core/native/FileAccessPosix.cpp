// POSIX side of FileAccess: the Win32 access and creation values map onto open(2) flags so
// that portable callers behave the same in native tests.
#include "core/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr size_t kMaxPath = 260;

int AccessFlags(uint32_t access)
{
    const bool read = (access & FileAccess::kGenericRead) != 0;
    const bool write = (access & FileAccess::kGenericWrite) != 0;
    return read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
}

bool CreationFlags(uint32_t creation, int& flags)
{
    switch (creation) {
    case FileAccess::kCreateNew: flags = O_CREAT | O_EXCL; return true;
    case FileAccess::kCreateAlways: flags = O_CREAT | O_TRUNC; return true;
    case FileAccess::kOpenExisting: flags = 0; return true;
    case FileAccess::kOpenAlways: flags = O_CREAT; return true;
    case FileAccess::kTruncateExisting: flags = O_TRUNC; return true;
    default: return false;
    }
}

}  // namespace

FileAccess::~FileAccess() { Close(); }

bool FileAccess::Open(const char* path, uint32_t access, uint32_t shareMode, uint32_t creation,
                      uint32_t flags)
{
    if (path == nullptr)
        return false;
    Close();
    int creationFlags = 0;
    if (!CreationFlags(creation, creationFlags)) {
        errno = EINVAL;
        return false;
    }
    const int fd = ::open(path, AccessFlags(access) | creationFlags | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // Windows refuses to open a folder as a file; keep the same answer here.
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return false;
    }
    handle = fd;
    return true;
}

void FileAccess::Close()
{
    if (!IsOpen())
        return;
    ::close(static_cast<int>(handle));
    handle = -1;
}

bool FileAccess::IsOpen() const { return handle != -1; }

uint32_t FileAccess::Read(void* buffer, uint32_t n)
{
    if (!IsOpen() || buffer == nullptr)
        return 0;
    if (n == 0)
        return 1;
    // Like ReadFile on a disk file: keep reading until n bytes or the end of the file.
    uint32_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(static_cast<int>(handle), static_cast<char*>(buffer) + got, n - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return 0;
        if (r == 0)
            break;
        got += static_cast<uint32_t>(r);
    }
    lastRead = got;
    return got;
}

uint32_t FileAccess::Write(const void* data, uint32_t n)
{
    if (!IsOpen() || data == nullptr)
        return 0;
    if (n == 0) {
        n = static_cast<uint32_t>(std::strlen(static_cast<const char*>(data)));
        if (n == 0)
            return 1;
    }
    uint32_t put = 0;
    while (put < n) {
        const ssize_t w =
            ::write(static_cast<int>(handle), static_cast<const char*>(data) + put, n - put);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return 0;
        put += static_cast<uint32_t>(w);
    }
    lastWritten = put;
    return put;
}

bool FileAccess::Truncate()
{
    if (!IsOpen())
        return false;
    const off_t at = ::lseek(static_cast<int>(handle), 0, SEEK_CUR);
    return at >= 0 && ::ftruncate(static_cast<int>(handle), at) == 0;
}

uint32_t FileAccess::Size() const { return static_cast<uint32_t>(Size64()); }

uint64_t FileAccess::Size64() const
{
    struct stat st;
    if (!IsOpen() || fstat(static_cast<int>(handle), &st) != 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool FileAccess::Exists(const char* path)
{
    if (path == nullptr || strnlen(path, kMaxPath) == kMaxPath)
        return false;
    struct stat st;
    return stat(path, &st) == 0;
}
