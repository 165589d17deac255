#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ContractFolder {
public:
    ContractFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv_test_XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path = pattern;
    }
    ~ContractFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ContractFolder(const ContractFolder&) = delete;
    ContractFolder& operator=(const ContractFolder&) = delete;
    const std::string& Path() const { return path; }
    std::string File(const char* name) const { return path + "/" + name; }

private:
    std::string path;
};

}  // namespace

#include "support/FileAccessContract.h"

TEST(FileAccessPosix, AccessModeLimitsWhatTheFileAllows)
{
    ContractFolder folder;
    const std::string path = folder.File("mode.txt");
    file_access_contract::WriteFile(path, "abc");
    char buffer[4];
    FileAccess readOnly;
    ASSERT_TRUE(readOnly.Open(path.c_str(), FileAccess::kGenericRead, 0, FileAccess::kOpenExisting));
    EXPECT_EQ(0u, readOnly.Write("x", 1));
    EXPECT_EQ(3u, readOnly.Read(buffer, 3));
    FileAccess writeOnly;
    ASSERT_TRUE(writeOnly.Open(path.c_str(), FileAccess::kGenericWrite, 0, FileAccess::kOpenExisting));
    EXPECT_EQ(0u, writeOnly.Read(buffer, 3));
    EXPECT_EQ(1u, writeOnly.Write("x", 1));
}
