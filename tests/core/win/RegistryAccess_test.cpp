#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/RegistryAccess.h"

namespace {

const char kTestKey[] = "Software\\QuorvanTests\\RegistryAccess";

class RegistryAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
    }
    void TearDown() override
    {
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    }

    void SetBytes(const char* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    }
    void SetString(const char* name, const std::string& text)
    {
        SetBytes(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    HKEY key = nullptr;
};

}  // namespace

TEST_F(RegistryAccessTest, ReadStringFallsBackOnEveryFailure)
{
    const std::string fits(254, 'f');      // 255 bytes with the terminator
    const std::string tooLong(255, 'g');   // 256 bytes
    SetString("short", "COM5");
    SetString("empty", "");
    SetString("fits", fits);
    SetString("tooLong", tooLong);
    SetString("long300", std::string(300, 'x'));
    SetString("cyrillic", "Порт");
    const DWORD number = 7;
    SetBytes("number", REG_DWORD, &number, sizeof number);
    SetBytes("expand", REG_EXPAND_SZ, "%TEMP%", 7);

    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    struct Case {
        const char* name;
        std::string expected;
    };
    const Case cases[] = {
        {"short", "COM5"},
        {"empty", ""},
        {"fits", fits},
        {"tooLong", "dflt"},
        {"long300", "dflt"},
        {"cyrillic", "Порт"},
        {"number", "dflt"},
        {"expand", "%TEMP%"},
        {"absent", "dflt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, registry.ReadString(c.name, "dflt").CStr());
    }
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.LastError());
}

// Leaves non-zero bytes in the stack area the next call from the same caller uses.
__attribute__((noinline)) void DirtyStack()
{
    volatile char area[8192];
    for (size_t i = 0; i < sizeof area; ++i)
        area[i] = 0x7F;
}

TEST_F(RegistryAccessTest, AStringStoredWithoutTerminatorEndsAtItsLength)
{
    // The byte after the counted data must not be NUL, or the system counts it as the
    // terminator the caller forgot.
    SetBytes("raw", REG_SZ, "abcX", 3);
    // A reader adds no terminator when the value fills the whole buffer.
    const std::string full(255, 'r');
    const std::string stored = full + "s";
    SetBytes("raw255", REG_SZ, stored.data(), 255);
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    DirtyStack();
    EXPECT_STREQ("abc", registry.ReadString("raw", "dflt").CStr());
    DirtyStack();
    EXPECT_EQ(full, registry.ReadString("raw255", "dflt").CStr());
}

TEST_F(RegistryAccessTest, ReadDwordTakesOnlyFourByteNumbers)
{
    const DWORD number = 0x12345678;
    const DWORD zero = 0;
    const unsigned char bytes[4] = {1, 2, 3, 4};
    const unsigned long long wide = 5;
    SetBytes("number", REG_DWORD, &number, sizeof number);
    SetBytes("zero", REG_DWORD, &zero, sizeof zero);
    SetBytes("binary", REG_BINARY, bytes, sizeof bytes);
    SetBytes("qword", REG_QWORD, &wide, sizeof wide);
    SetString("text", "12");
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    struct Case {
        const char* name;
        uint32_t expected;
    };
    const Case cases[] = {
        {"number", 0x12345678}, {"zero", 0}, {"binary", 99}, {"qword", 99}, {"text", 99}, {"absent", 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, registry.ReadDword(c.name, 99));
    }
}

TEST_F(RegistryAccessTest, OpenKeyRefusesALeadingBackslashAndKeepsTheCurrentKey)
{
    SetString("v", "value");
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    EXPECT_FALSE(registry.OpenKey((std::string("\\") + kTestKey).c_str()));
    EXPECT_FALSE(registry.OpenKey("Software\\QuorvanTests\\NoSuchKey"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.LastError());
    EXPECT_STREQ(kTestKey, registry.CurrentKey().CStr());
    EXPECT_STREQ("value", registry.ReadString("v", "dflt").CStr());
}

TEST_F(RegistryAccessTest, EmptyPathReadsTheRootItself)
{
    const char rootValue[] = "QuorvanTestsRootValue";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(HKEY_CURRENT_USER, rootValue, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>("root"), 5));
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    EXPECT_TRUE(registry.OpenKey(""));
    EXPECT_TRUE(registry.CurrentKey().IsEmpty());
    EXPECT_STREQ("root", registry.ReadString(rootValue, "dflt").CStr());
    RegDeleteValueA(HKEY_CURRENT_USER, rootValue);
    EXPECT_STREQ("dflt", registry.ReadString(rootValue, "dflt").CStr());
}

TEST_F(RegistryAccessTest, ReadsFallBackWhenTheKeyDisappears)
{
    SetString("v", "value");
    RegistryAccess registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey));
    RegCloseKey(key);
    key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey));
    EXPECT_STREQ("dflt", registry.ReadString("v", "dflt").CStr());
    EXPECT_EQ(5u, registry.ReadDword("v", 5));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.LastError());
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
}

TEST(RegistryAccess, OnlyTheFourRootsAreAccepted)
{
    RegistryAccess registry;
    EXPECT_EQ(HKEY_CURRENT_USER, registry.RootKey());
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_USER}) {
        EXPECT_TRUE(registry.SetRootKey(root));
        EXPECT_EQ(root, registry.RootKey());
    }
    ASSERT_TRUE(registry.SetRootKey(HKEY_LOCAL_MACHINE));
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &opened));
    for (HKEY other : {HKEY_CURRENT_CONFIG, HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA, opened,
                       static_cast<HKEY>(nullptr)}) {
        EXPECT_FALSE(registry.SetRootKey(other));
        EXPECT_EQ(HKEY_LOCAL_MACHINE, registry.RootKey());
    }
    RegCloseKey(opened);
}

TEST(RegistryAccess, ReadsTheMachineKeysThePortScanUses)
{
    RegistryAccess& registry = RegistryAccess::Instance();
    EXPECT_EQ(&registry, &RegistryAccess::Instance());
    ASSERT_TRUE(registry.SetRootKey(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(registry.OpenKey("Software\\Wine\\Ports"));
    EXPECT_FALSE(registry.ReadString("COM10", "").IsEmpty())
        << "the test prefix maps COM10 to a path";
    ASSERT_TRUE(registry.SetRootKey(HKEY_CURRENT_USER));
    ASSERT_TRUE(registry.OpenKey(""));
}
