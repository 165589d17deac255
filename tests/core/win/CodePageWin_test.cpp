// The Windows side of the code-page seam must agree with the Windows-1251 table the native
// build uses (the tests run with the Russian ANSI code page).
#include "core/CodePage.h"
#include "core/GString.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(CodePageWin, RussianAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 1251u);
}

TEST(CodePageWin, EveryByteRoundTrips)
{
    for (int b = 1; b < 256; ++b) {
        const char in = static_cast<char>(b);
        char16_t unit = 0;
        ASSERT_EQ(AnsiToUtf16(&in, 1, &unit, 1), 1) << b;
        char back = 0;
        bool usedDefault = true;
        ASSERT_EQ(Utf16ToAnsi(&unit, 1, &back, 1, &usedDefault), 1) << b;
        EXPECT_EQ(static_cast<unsigned char>(back), b);
        EXPECT_FALSE(usedDefault) << b;
    }
}

TEST(CodePageWin, SameTextsAsTheNativeTable)
{
    EXPECT_EQ(AnsiToUtf16("Привет, мир ёЁ №"), u"Привет, мир ёЁ №");
    EXPECT_EQ(Utf16ToAnsi(u"€—…"), "\x88\x97\x85");
    bool usedDefault = false;
    EXPECT_EQ(Utf16ToAnsi(u"a\u4e2db", &usedDefault), "a?b");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(std::string(GString(u"Жук").CStr()), "Жук");
}

TEST(CodePageWin, BoundedOutput)
{
    char16_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(AnsiToUtf16("abc", -1, nullptr, 0), 4);
    EXPECT_EQ(AnsiToUtf16("abc", -1, out, 3), 0);
    EXPECT_EQ(AnsiToUtf16("abc", -1, out, 4), 4);
    char narrow[3];
    EXPECT_EQ(Utf16ToAnsi(u"жук", -1, narrow, 3), 0);
    EXPECT_EQ(Utf16ToAnsi(u"жук", 3, narrow, 3), 3);
    EXPECT_EQ(AnsiToUtf16("", 0, out, 4), 0);
}

TEST(CodePageWin, UpperCase)
{
    GString s("ёжик abc ђ ѓ љ њ ќ ћ џ ў і ґ є ј ѕ ї µ");
    s.ToUpper();
    EXPECT_EQ(std::string(s.CStr()), "ЁЖИК ABC Ђ Ѓ Љ Њ Ќ Ћ Џ Ў І Ґ Є Ј Ѕ Ї µ");
}

}  // namespace
