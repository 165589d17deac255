#include <windows.h>

#include "support/win/TempDir.h"

using ContractFolder = TempDir;

#include "support/FileAccessContract.h"

TEST(FileAccessWin, SharingModeIsPassedToTheSystem)
{
    TempDir folder;
    const std::string path = folder.File("shared.txt");
    file_access_contract::WriteFile(path, "x");
    FileAccess exclusive;
    ASSERT_TRUE(exclusive.Open(path.c_str(), FileAccess::kGenericRead, 0, FileAccess::kOpenExisting));
    FileAccess second;
    EXPECT_FALSE(second.Open(path.c_str(), FileAccess::kGenericRead, FileAccess::kShareRead,
                             FileAccess::kOpenExisting));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    exclusive.Close();
    EXPECT_TRUE(second.Open(path.c_str(), FileAccess::kGenericRead, FileAccess::kShareRead,
                            FileAccess::kOpenExisting));
}

TEST(FileAccessWin, AFailedOpenReleasesTheOldFileForAnExclusiveOpen)
{
    TempDir folder;
    const std::string held = folder.File("held.txt");
    file_access_contract::WriteFile(held, "held");
    FileAccess f;
    ASSERT_TRUE(f.Open(held.c_str(), FileAccess::kGenericRead, 0, FileAccess::kOpenExisting));
    FileAccess other;
    ASSERT_FALSE(other.Open(held.c_str(), FileAccess::kGenericRead, 0, FileAccess::kOpenExisting))
        << "the system enforces sharing here";
    EXPECT_FALSE(f.Open(folder.File("missing.txt").c_str(), FileAccess::kGenericRead, 0,
                        FileAccess::kOpenExisting));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError())
        << "the failure of the new open is what the caller sees";
    EXPECT_TRUE(other.Open(held.c_str(), FileAccess::kGenericRead, 0, FileAccess::kOpenExisting));
}

TEST(FileAccessWin, SizeAboveFourGigabytes)
{
    TempDir folder;
    const std::string path = folder.File("sparse.bin");
    FileAccess f;
    ASSERT_TRUE(f.Open(path.c_str(), FileAccess::kGenericRead | FileAccess::kGenericWrite,
                       FileAccess::kShareRead | FileAccess::kShareWrite, FileAccess::kCreateAlways));
    // Grow the file to 4 GiB + 3 bytes without writing it: position, then end of file.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "the file cannot be opened twice here";
    LARGE_INTEGER at;
    at.QuadPart = 0x100000003LL;
    const bool grown = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!grown)
        GTEST_SKIP() << "no room for a 4 GiB file";
    EXPECT_EQ(3u, f.Size());
    EXPECT_EQ(0x100000003ull, f.Size64());
}
