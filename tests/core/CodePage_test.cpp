#include "core/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage1251, EveryByteRoundTrips)
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

TEST(CodePage1251, KnownLetters)
{
    EXPECT_EQ(AnsiToUtf16("Привет, мир ёЁ №"), u"Привет, мир ёЁ №");
    EXPECT_EQ(Utf16ToAnsi(u"Привет, мир ёЁ №"), "Привет, мир ёЁ №");
    EXPECT_EQ(Utf16ToAnsi(u"€—…"), "\x88\x97\x85");
}

TEST(CodePage1251, UnmappableUnitsBecomeQuestionMarks)
{
    bool usedDefault = false;
    EXPECT_EQ(Utf16ToAnsi(u"a\u4e2d\u00e9b", &usedDefault), "a??b");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(Utf16ToAnsi(u"ab", &usedDefault), "ab");
    EXPECT_FALSE(usedDefault);
}

TEST(CodePage, BoundedOutput)
{
    char16_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(AnsiToUtf16("abc", -1, nullptr, 0), 4);  // with the terminator
    EXPECT_EQ(AnsiToUtf16("abc", 3, nullptr, 0), 3);
    EXPECT_EQ(AnsiToUtf16("abc", -1, out, 3), 0);       // too small
    EXPECT_EQ(AnsiToUtf16("abc", -1, out, 4), 4);
    EXPECT_EQ(std::u16string(out, 4), std::u16string(u"abc\0", 4));
    EXPECT_EQ(AnsiToUtf16("", 0, out, 4), 0);
    EXPECT_EQ(AnsiToUtf16(nullptr, -1, out, 4), 0);

    char narrow[3] = {9, 9, 9};
    EXPECT_EQ(Utf16ToAnsi(u"жук", -1, narrow, 3), 0);
    EXPECT_EQ(Utf16ToAnsi(u"жук", 3, narrow, 3), 3);
    EXPECT_EQ(std::string(narrow, 3), "жук");
    EXPECT_EQ(Utf16ToAnsi(u"жук", -1, nullptr, 0), 4);
    EXPECT_EQ(AnsiToUtf16(std::string_view()), u"");
}

TEST(CodePage1251, UpperCase)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string upper = all;
    AnsiUpper(upper.data(), static_cast<uint32_t>(upper.size()));
    int changed = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(all[i]);
        const unsigned char u = static_cast<unsigned char>(upper[i]);
        const std::u16string lowerUnit = AnsiToUtf16(std::string(1, all[i]));
        const std::u16string upperUnit = AnsiToUtf16(std::string(1, upper[i]));
        if (u != b) {
            ++changed;
            // A changed byte is the upper-case partner of the same letter, one Unicode row away.
            const int delta = lowerUnit[0] - upperUnit[0];
            EXPECT_TRUE(delta == 0x20 || delta == 0x50 || delta == 1) << std::hex << int(b);
        }
    }
    EXPECT_EQ(changed, 26 + 32 + 15);  // Latin, Russian, the other Cyrillic letters
    std::string text = "ёжик ђ ѓ љ њ ќ ћ џ ў і ґ є ј ѕ ї µ";
    AnsiUpper(text.data(), static_cast<uint32_t>(text.size()));
    EXPECT_EQ(text, "ЁЖИК Ђ Ѓ Љ Њ Ќ Ћ Џ Ў І Ґ Є Ј Ѕ Ї µ");
}

}  // namespace
