#include "samsung/WireName.h"

#include <gtest/gtest.h>

#include <string>

#include "samsung/Utf8Encoder.h"

namespace {

TEST(Utf8Encoder, EncodesEachUnitInOneToThreeBytes)
{
    const struct {
        std::u16string text;
        std::string utf8;
    } cases[] = {
        {u"abc", "abc"},
        {u"\u0424\u043E\u0442\u043E", "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE"},  // Фото
        {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {u"\u20AC1", "\xE2\x82\xAC" "1"},
        {u"", ""},
    };
    for (const auto& c : cases) {
        char out[64];
        EXPECT_EQ(EncodeUtf8(c.text.c_str(), static_cast<uint32_t>(c.text.size()), out, sizeof out),
                  static_cast<int32_t>(c.utf8.size()));
        EXPECT_EQ(std::string(out), c.utf8);
    }
}

TEST(Utf8Encoder, StopsAtNulOrCountAndKeepsItsBound)
{
    char out[8];
    const char16_t text[] = u"ab\0cd";
    EXPECT_EQ(EncodeUtf8(text, 5, out, sizeof out), 2);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(EncodeUtf8(u"abcdef", 3, out, sizeof out), 3);
    EXPECT_STREQ(out, "abc");

    // Four bytes and the terminator need five: a buffer of four fails and is left empty.
    EXPECT_EQ(EncodeUtf8(u"\u0424\u043E", 2, out, 5), 4);
    EXPECT_EQ(EncodeUtf8(u"\u0424\u043E", 2, out, 4), -1);
    EXPECT_STREQ(out, "");
    // A three-byte character never goes in half.
    EXPECT_EQ(EncodeUtf8(u"a\u20AC", 2, out, 4), -1);
    EXPECT_EQ(EncodeUtf8(u"a", 1, out, 0), -1);
    EXPECT_EQ(EncodeUtf8(u"a", 1, nullptr, 8), -1);
}

TEST(WireName, ConvertsAnsiNamesAndRefusesWhatCannotTravel)
{
    char16_t wide[kWireNameBuffer];
    char bytes[kWireNameBuffer];
    const std::string cyrillic129(129, '\xD4');   // 258 bytes of UTF-8
    const std::string cyrillic130(130, '\xD4');   // 260 bytes: no room for the terminator
    std::string cyrillic129Utf8;
    for (int i = 0; i < 129; ++i)
        cyrillic129Utf8 += "\xD0\xA4";
    const struct {
        std::string name;
        bool ok;
        std::string utf8;
    } cases[] = {
        {"Images", true, "Images"},
        {"\xD4\xEE\xF2\xEE.jpg", true, "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE.jpg"},
        {"a\\b c,d", true, "a\\b c,d"},
        {"\x88", true, "\xE2\x82\xAC"},  // the euro sign of Windows-1251
        {std::string(259, 'x'), true, std::string(259, 'x')},
        {std::string(260, 'x'), false, ""},
        {cyrillic129, true, cyrillic129Utf8},
        {cyrillic130, false, ""},
        {"", false, ""},
        {"a\"b", false, ""},
        {"a\rb", false, ""},
        {"a\nb", false, ""},
        {std::string("a\0b", 3), false, ""},
    };
    for (const auto& c : cases) {
        const GString name(c.name.data(), static_cast<uint32_t>(c.name.size()));
        EXPECT_EQ(ToWireName(name, wide, bytes), c.ok) << c.name.size();
        EXPECT_EQ(std::string(bytes), c.utf8) << c.name.size();
    }
}

}  // namespace
