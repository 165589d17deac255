// Behaviour of FileAccess that both builds share. Included by exactly one test file per test
// binary, after that file has defined ContractFolder: a class whose objects own a fresh empty
// folder (Path(), File(name)) and remove it when destroyed.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/FileAccess.h"

namespace file_access_contract {

constexpr uint32_t kReadWrite = FileAccess::kGenericRead | FileAccess::kGenericWrite;
constexpr uint32_t kShareBoth = FileAccess::kShareRead | FileAccess::kShareWrite;

inline void WriteFile(const std::string& path, const char* content)
{
    FileAccess f;
    ASSERT_TRUE(f.Open(path.c_str(), FileAccess::kGenericWrite, 0, FileAccess::kCreateAlways));
    if (content[0] != '\0') {
        ASSERT_EQ(std::strlen(content), f.Write(content, 0));
    }
}

inline std::string ReadFile(const std::string& path)
{
    FileAccess f;
    if (!f.Open(path.c_str(), FileAccess::kGenericRead, kShareBoth, FileAccess::kOpenExisting))
        return "<cannot open>";
    std::string content(f.Size(), '\0');
    if (!content.empty() && f.Read(content.data(), f.Size()) != content.size())
        return "<short read>";
    return content;
}

}  // namespace file_access_contract

using namespace file_access_contract;

TEST(FileAccessContract, ReadOfZeroBytesAnswersOneAndLeavesThePosition)
{
    ContractFolder folder;
    const std::string path = folder.File("data.bin");
    WriteFile(path, "abcdef");
    FileAccess f;
    ASSERT_TRUE(f.Open(path.c_str(), FileAccess::kGenericRead, kShareBoth, FileAccess::kOpenExisting));
    char buffer[8] = "zzzzzzz";
    EXPECT_EQ(1u, f.Read(buffer, 0));
    EXPECT_STREQ("zzzzzzz", buffer);
    EXPECT_EQ(3u, f.Read(buffer, 3));
    EXPECT_EQ(0, std::memcmp(buffer, "abc", 3));
    EXPECT_EQ(3u, f.LastRead());
    EXPECT_EQ(3u, f.Read(buffer, 7)) << "short read at the end of the file";
    EXPECT_EQ(0u, f.Read(buffer, 7)) << "nothing left";
}

TEST(FileAccessContract, NothingIsReadOrWrittenWithoutAFileOrABuffer)
{
    ContractFolder folder;
    const std::string path = folder.File("data.bin");
    WriteFile(path, "abc");
    char buffer[4];
    FileAccess closed;
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_EQ(0u, closed.Read(buffer, 3));
    EXPECT_EQ(0u, closed.Read(buffer, 0));
    EXPECT_EQ(0u, closed.Write("abc", 3));
    EXPECT_EQ(0u, closed.Write("abc", 0));
    EXPECT_FALSE(closed.Truncate());
    EXPECT_EQ(0u, closed.Size());
    EXPECT_EQ(0u, closed.Size64());

    FileAccess open;
    ASSERT_TRUE(open.Open(path.c_str(), kReadWrite, 0, FileAccess::kOpenExisting));
    EXPECT_EQ(0u, open.Read(nullptr, 3));
    EXPECT_EQ(0u, open.Read(nullptr, 0));
    EXPECT_EQ(0u, open.Write(nullptr, 3));
    EXPECT_EQ(0u, open.Write(nullptr, 0));
    EXPECT_FALSE(open.Open(nullptr, kReadWrite, 0, FileAccess::kOpenExisting));
}

TEST(FileAccessContract, WriteOfCountZeroWritesTheTextAndAnEmptyTextAnswersOne)
{
    ContractFolder folder;
    const std::string path = folder.File("text.txt");
    FileAccess f;
    ASSERT_TRUE(f.Open(path.c_str(), kReadWrite, 0, FileAccess::kCreateAlways));
    EXPECT_EQ(1u, f.Write("", 0));
    EXPECT_EQ(0u, f.Size());
    EXPECT_EQ(5u, f.Write("hello", 0));
    EXPECT_EQ(5u, f.LastWritten());
    EXPECT_EQ(3u, f.Write("abcdef", 3));
    EXPECT_EQ(8u, f.Size());
    EXPECT_EQ(8u, f.Size64());
    f.Close();
    EXPECT_EQ("helloabc", ReadFile(path));
}

TEST(FileAccessContract, OpenClosesTheHeldFileEvenWhenTheNewOpenFails)
{
    ContractFolder folder;
    const std::string held = folder.File("held.txt");
    WriteFile(held, "held");
    FileAccess f;
    ASSERT_TRUE(f.Open(held.c_str(), kReadWrite, 0, FileAccess::kOpenExisting));
    EXPECT_FALSE(f.Open(folder.File("missing.txt").c_str(), FileAccess::kGenericRead, 0,
                        FileAccess::kOpenExisting));
    EXPECT_FALSE(f.IsOpen());
    char buffer[4];
    EXPECT_EQ(0u, f.Read(buffer, 4));
    // Nobody holds the file any more: an exclusive open elsewhere succeeds (where the system
    // enforces sharing).
    FileAccess other;
    EXPECT_TRUE(other.Open(held.c_str(), kReadWrite, 0, FileAccess::kOpenExisting));
}

TEST(FileAccessContract, TruncateCutsAtTheCurrentPosition)
{
    ContractFolder folder;
    const std::string path = folder.File("cut.bin");
    WriteFile(path, "0123456789");
    FileAccess f;
    ASSERT_TRUE(f.Open(path.c_str(), kReadWrite, 0, FileAccess::kOpenExisting));
    char buffer[4];
    ASSERT_EQ(4u, f.Read(buffer, 4));
    EXPECT_TRUE(f.Truncate());
    EXPECT_EQ(4u, f.Size());
    f.Close();
    EXPECT_EQ("0123", ReadFile(path));
}

TEST(FileAccessContract, CreationDispositions)
{
    struct Case {
        const char* name;
        uint32_t creation;
        bool existsBefore;
        bool opens;
        const char* contentAfter;  // null: the file does not exist afterwards
    };
    const Case cases[] = {
        {"create new, absent", FileAccess::kCreateNew, false, true, ""},
        {"create new, present", FileAccess::kCreateNew, true, false, "old"},
        {"create always, absent", FileAccess::kCreateAlways, false, true, ""},
        {"create always, present", FileAccess::kCreateAlways, true, true, ""},
        {"open existing, absent", FileAccess::kOpenExisting, false, false, nullptr},
        {"open existing, present", FileAccess::kOpenExisting, true, true, "old"},
        {"open always, absent", FileAccess::kOpenAlways, false, true, ""},
        {"open always, present", FileAccess::kOpenAlways, true, true, "old"},
        {"truncate existing, absent", FileAccess::kTruncateExisting, false, false, nullptr},
        {"truncate existing, present", FileAccess::kTruncateExisting, true, true, ""},
        {"unknown disposition", 9, true, false, "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ContractFolder folder;
        const std::string path = folder.File("f.txt");
        if (c.existsBefore)
            WriteFile(path, "old");
        FileAccess f;
        EXPECT_EQ(c.opens, f.Open(path.c_str(), kReadWrite, 0, c.creation));
        EXPECT_EQ(c.opens, f.IsOpen());
        f.Close();
        if (c.contentAfter == nullptr)
            EXPECT_FALSE(FileAccess::Exists(path.c_str()));
        else
            EXPECT_EQ(c.contentAfter, ReadFile(path));
    }
}

TEST(FileAccessContract, AFolderDoesNotOpenAsAFile)
{
    ContractFolder folder;
    FileAccess f;
    EXPECT_FALSE(f.Open(folder.Path().c_str(), FileAccess::kGenericRead, kShareBoth,
                        FileAccess::kOpenExisting));
    EXPECT_FALSE(f.IsOpen());
}

TEST(FileAccessContract, ExistsNamesFilesAndFoldersWithinThePathLimit)
{
    ContractFolder folder;
    const std::string file = folder.File("here.txt");
    WriteFile(file, "x");
    // A path that does not end within 260 bytes; its first 259 bytes name an existing
    // folder (padded with separators) so that a reader that cut it short would say yes.
    std::string padded = folder.Path();
    padded.append(259 - padded.size(), padded.find('\\') != std::string::npos ? '\\' : '/');
    padded += "here.txt";
    const std::string missing = folder.File("none");
    struct Case {
        const char* name;
        const char* path;
        bool exists;
    };
    const Case cases[] = {
        {"file", file.c_str(), true},
        {"folder", folder.Path().c_str(), true},
        {"missing", missing.c_str(), false},
        {"null", nullptr, false},
        {"longer than the limit", padded.c_str(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.exists, FileAccess::Exists(c.path));
    }
}
