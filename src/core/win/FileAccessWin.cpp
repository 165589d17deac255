#include "core/FileAccess.h"

#include <windows.h>

#include <cstring>

namespace {

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

FileAccess::~FileAccess() { Close(); }

bool FileAccess::Open(const char* path, uint32_t access, uint32_t shareMode, uint32_t creation,
                      uint32_t flags)
{
    if (path == nullptr)
        return false;
    Close();
    HANDLE h = CreateFileA(path, access, shareMode, nullptr, creation, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    handle = reinterpret_cast<intptr_t>(h);
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    return true;
}

void FileAccess::Close()
{
    if (!IsOpen())
        return;
    CloseHandle(AsHandle(handle));
    handle = -1;
}

bool FileAccess::IsOpen() const { return handle != -1; }

uint32_t FileAccess::Read(void* buffer, uint32_t n)
{
    if (!IsOpen() || buffer == nullptr)
        return 0;
    if (n == 0)
        return 1;
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle), buffer, n, &got, nullptr))
        return 0;
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
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle), data, n, &put, nullptr))
        return 0;
    lastWritten = put;
    return put;
}

bool FileAccess::Truncate()
{
    return IsOpen() && SetEndOfFile(AsHandle(handle)) != 0;
}

uint32_t FileAccess::Size() const
{
    if (!IsOpen())
        return 0;
    return GetFileSize(AsHandle(handle), nullptr);
}

uint64_t FileAccess::Size64() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(AsHandle(handle), &size))
        return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

bool FileAccess::Exists(const char* path)
{
    if (path == nullptr)
        return false;
    // A path that does not end within MAX_PATH bytes cannot name anything the ANSI calls reach.
    if (strnlen(path, MAX_PATH) == MAX_PATH)
        return false;
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
