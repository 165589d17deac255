// The COM name of a listed serial device, looked up in the registry through its service's
// list of device instances.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "discovery/win/SerialEnumeration.h"

namespace {

const char kService[] = "qvtestserial";
const char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\qvtestserial";
const char kEnumKey[] = "SYSTEM\\CurrentControlSet\\Enum\\QVTEST";

void SetString(const std::string& key, const char* name, const char* value)
{
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), ERROR_SUCCESS);
    RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(h);
}

void SetDword(const std::string& key, const char* name, DWORD value)
{
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), ERROR_SUCCESS);
    RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(h);
}

class ComNameTest : public testing::Test {
protected:
    void SetUp() override
    {
        // A service driving three instances: the first without device parameters, the
        // second listed but missing, the third with its COM name; Count claims one more.
        const std::string enumList = std::string(kServiceKey) + "\\Enum";
        SetDword(enumList, "Count", 4);
        SetString(enumList, "0", "QVTEST\\PNP0501\\1");
        SetString(enumList, "1", "QVTEST\\GONE\\9");
        SetString(enumList, "2", "QVTEST\\USB\\7");
        SetString(std::string(kEnumKey) + "\\PNP0501\\1", "Driver", "{4d36e978-e325-11ce-bfc1-08002be10318}\\0000");
        SetString(std::string(kEnumKey) + "\\USB\\7", "Driver", "{4d36e978-e325-11ce-bfc1-08002be10318}\\0003");
        SetString(std::string(kEnumKey) + "\\USB\\7\\Device Parameters", "PortName", "COM7");
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kServiceKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEnumKey);
    }
};

TEST_F(ComNameTest, TheInstanceWithTheDevicesDriverKeyNamesThePort)
{
    EXPECT_STREQ(ComNameOfDevice("{4d36e978-e325-11ce-bfc1-08002be10318}\\0003", kService).CStr(), "COM7");
    // Found, but without device parameters: no name.
    EXPECT_STREQ(ComNameOfDevice("{4d36e978-e325-11ce-bfc1-08002be10318}\\0000", kService).CStr(), "");
    // The driver key must match exactly.
    EXPECT_STREQ(ComNameOfDevice("{4D36E978-E325-11CE-BFC1-08002BE10318}\\0003", kService).CStr(), "");
    EXPECT_STREQ(ComNameOfDevice("{4d36e978-e325-11ce-bfc1-08002be10318}\\0003", "qvnosuchservice").CStr(), "");
    EXPECT_STREQ(ComNameOfDevice("", kService).CStr(), "");
}

}  // namespace
