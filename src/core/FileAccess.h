// One open local file. The Windows build wraps CreateFileA and friends; the native build
// (tests, fuzzing) provides the same operations over POSIX files.
#pragma once

#include <cstdint>

class FileAccess {
public:
    // The values of the Win32 constants, so that callers on both builds pass the same numbers.
    static constexpr uint32_t kGenericRead = 0x80000000u;
    static constexpr uint32_t kGenericWrite = 0x40000000u;
    static constexpr uint32_t kShareRead = 0x1;
    static constexpr uint32_t kShareWrite = 0x2;
    static constexpr uint32_t kCreateNew = 1;
    static constexpr uint32_t kCreateAlways = 2;
    static constexpr uint32_t kOpenExisting = 3;
    static constexpr uint32_t kOpenAlways = 4;
    static constexpr uint32_t kTruncateExisting = 5;
    static constexpr uint32_t kAttributeNormal = 0x80;

    FileAccess() = default;
    FileAccess(const FileAccess&) = delete;
    FileAccess& operator=(const FileAccess&) = delete;
    virtual ~FileAccess();

    // Closes any open file first; false when the path is null or the open fails.
    bool Open(const char* path, uint32_t access, uint32_t shareMode, uint32_t creation,
              uint32_t flags = kAttributeNormal);
    void Close();
    bool IsOpen() const;
    // Bytes read; 0 without a file, without a buffer or on failure; 1 when n is 0.
    uint32_t Read(void* buffer, uint32_t n);
    // Bytes written; n = 0 writes the NUL-terminated text (1 without writing when it is empty).
    uint32_t Write(const void* data, uint32_t n);
    bool Truncate();
    uint32_t Size() const;
    // Full 64-bit size, for callers that must refuse files of 4 GiB or more.
    uint64_t Size64() const;
    uint32_t LastWritten() const { return lastWritten; }
    uint32_t LastRead() const { return lastRead; }

    static bool Exists(const char* path);

private:
    intptr_t handle = -1;  // HANDLE on Windows, file descriptor natively; -1 when closed
    uint32_t lastWritten = 0;
    uint32_t lastRead = 0;
};
