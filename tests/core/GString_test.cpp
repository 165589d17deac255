#include "core/GString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const GString& s)
{
    return std::string(s.CStr(), s.Length());
}

TEST(GString, Construction)
{
    EXPECT_EQ(Bytes(GString()), "");
    EXPECT_EQ(Bytes(GString(static_cast<const char*>(nullptr))), "");
    EXPECT_EQ(Bytes(GString("abc")), "abc");
    EXPECT_EQ(Bytes(GString('x')), "x");
    EXPECT_EQ(GString('\0').Length(), 0u);
    const GString counted("ab\0cd", 5);
    EXPECT_EQ(counted.Length(), 5u);
    EXPECT_EQ(*counted.At(5), '\0');
    EXPECT_EQ(Bytes(GString(u"Привет")), "Привет");
    EXPECT_EQ(Bytes(GString(static_cast<const char16_t*>(nullptr))), "");
    GString copy(counted);
    EXPECT_EQ(Bytes(copy), Bytes(counted));
    EXPECT_NE(copy.CStr(), counted.CStr());
}

TEST(GString, NumberText)
{
    const struct {
        uint32_t value;
        const char* text;
    } cases[] = {
        {0, "0"}, {7, "7"}, {1536, "1536"}, {1000000, "1000000"}, {4294967295u, "4294967295"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Bytes(GString(c.value)), c.text) << c.value;
        GString assigned("old");
        assigned.Assign(c.value);
        EXPECT_EQ(Bytes(assigned), c.text);
    }
    GString s("n=");
    s.Append(int32_t{-42});
    s.Append(int32_t{INT32_MIN});
    s.AppendChar(' ');
    s.Append(uint32_t{3000000000u});
    EXPECT_EQ(Bytes(s), "n=-42-2147483648 3000000000");
}

TEST(GString, AssignAppendConcat)
{
    GString s("abc");
    s.Assign("de\0f", 4);
    EXPECT_EQ(Bytes(s), std::string("de\0f", 4));
    s.Assign(s.CStr() + 1, 2);  // from its own bytes
    EXPECT_EQ(Bytes(s), std::string("e\0", 2));
    s.Assign("x");
    s.Append(GString("y"));
    s.Append("zz", 1);
    s.Append(static_cast<const char*>(nullptr));
    s.AppendChar('!');
    EXPECT_EQ(Bytes(s), "xyz!");
    s = s;
    EXPECT_EQ(Bytes(s), "xyz!");
    EXPECT_EQ(Bytes(GString("ab").Concat(GString("cd"))), "abcd");
    s.Assign(u"Ёж", 1);
    EXPECT_EQ(Bytes(s), "Ё");
}

TEST(GString, At)
{
    const GString s("abc");
    EXPECT_EQ(*s.At(0), 'a');
    EXPECT_EQ(*s.At(2), 'c');
    EXPECT_EQ(s.At(3), s.CStr() + 3);
    EXPECT_EQ(*s.At(3), '\0');
    EXPECT_EQ(*s.At(8), '\0');
    EXPECT_EQ(*s.At(UINT32_MAX), '\0');
    const char* outside = s.At(8);
    EXPECT_TRUE(outside < s.CStr() || outside > s.CStr() + 3);
}

TEST(GString, Equals)
{
    EXPECT_TRUE(GString("ok").Equals("ok"));
    EXPECT_FALSE(GString("ok").Equals("OK"));
    EXPECT_FALSE(GString("ok").Equals("ok "));
    EXPECT_FALSE(GString("ok").Equals("o"));
    EXPECT_FALSE(GString().Equals(""));
    EXPECT_FALSE(GString().Equals(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(GString().Equals(GString()));
    EXPECT_TRUE(GString("ab").Equals(GString("ab")));
    EXPECT_FALSE(GString("ab\0c", 4).Equals("ab"));
    EXPECT_TRUE(GString("ok").NotEquals("OK"));
    EXPECT_TRUE(GString().NotEquals(""));
}

TEST(GString, FindAndFindFrom)
{
    const GString s("xxabc");
    const struct {
        const char* needle;
        uint32_t from;  // 0: Find
        uint32_t result;
    } cases[] = {
        {"abc", 0, 3}, {"abc", 3, 1}, {"c", 5, 1}, {"a", 6, 0}, {"", 0, 0},
        {"x", 0, 1},   {"x", 1, 1},   {"x", 2, 1}, {"x", 3, 0}, {"abcd", 0, 0},
        {"xxabcx", 0, 0}, {"xxabc", 1, 1}, {"bc", 2, 3}, {"q", 0, 0},
    };
    for (const auto& c : cases) {
        const uint32_t got = c.from == 0 ? s.Find(c.needle) : s.FindFrom(c.needle, c.from);
        EXPECT_EQ(got, c.result) << c.needle << " from " << c.from;
    }
    EXPECT_EQ(s.FindFrom("x", 0), 1u);
    EXPECT_EQ(GString().Find("a"), 0u);
    EXPECT_EQ(s.Find(nullptr), 0u);
}

TEST(GString, Trim)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  a b  ", "a b"}, {"", ""}, {"ab", "ab"}, {"   ", ""}, {"\tab\t", "\tab\t"}, {" x", "x"},
    };
    for (const auto& c : cases) {
        GString s(c.in);
        s.Trim();
        EXPECT_EQ(Bytes(s), c.out) << '"' << c.in << '"';
    }
}

TEST(GString, ToUpperConvertsCyrillic)
{
    GString s("abc xyz 09 абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    s.ToUpper();
    EXPECT_EQ(Bytes(s), "ABC XYZ 09 АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
}

TEST(GString, FormatGrowsPastTheFirstBuffer)
{
    GString s("old");
    s.Format("%s-%d", "a", 5);
    EXPECT_EQ(Bytes(s), "a-5");
    const std::string longText(1000, 'q');
    s.Format("[%s]%u", longText.c_str(), 7u);
    EXPECT_EQ(Bytes(s), "[" + longText + "]7");
    s.Format("%s", "");
    EXPECT_EQ(s.Length(), 0u);
    s.Format("%31s", "x");  // exactly fills 31 + NUL
    EXPECT_EQ(s.Length(), 31u);
    s.Format("%32s", "x");
    EXPECT_EQ(s.Length(), 32u);
}

struct ParseCase {
    char type;
    const char* input;
    bool ok;
    double value;  // when ok
};

TEST(GString, ParseValue)
{
    const ParseCase cases[] = {
        {'S', " 12 ", true, 12},        {'S', "65536", false, 0},     {'S', "-1", false, 0},
        {'S', "12x", false, 0},         {'S', "0", true, 0},          {'S', "abc", false, 0},
        {'S', "", false, 0},            {'S', " \t ", false, 0},      {'S', "65535", true, 65535},
        {'S', "\t7\t", true, 7},        {'S', "12.9", true, 12},      {'S', "00", true, 0},
        {'C', "255", true, 255},        {'C', "256", false, 0},       {'c', "-128", true, -128},
        {'c', "128", false, 0},         {'s', "-32768", true, -32768}, {'s', "32768", false, 0},
        {'I', "4294967295", true, 4294967295.0}, {'I', "4294967296", false, 0},
        {'L', "123L", true, 123},       {'L', "123l ", true, 123},    {'L', "123LL", false, 0},
        {'I', "123L", false, 0},        {'l', "-5l", true, -5},       {'i', "-2147483648", true, -2147483648.0},
        {'i', "2147483648", false, 0},  {'i', "-7.9", true, -7},      {'i', "-0", false, 0},
        {'f', "1.5f", true, 1.5},       {'f', "1e39", false, 0},      {'d', "2.25F", true, 2.25},
        {'d', "1e300", true, 1e300},    {'d', "x", false, 0},         {'S', "1 2", false, 0},
        {'q', "1", false, 0},           {'S', "+12", true, 12},       {'i', "+-1", false, 0},
    };
    for (const auto& c : cases) {
        const GString s(c.input);
        unsigned char out[8];
        std::memset(out, 0xAB, sizeof out);
        const bool ok = s.ParseValue(out, c.type);
        EXPECT_EQ(ok, c.ok) << c.type << " '" << c.input << "'";
        double got = 0;
        switch (c.type) {
        case 'C': got = *reinterpret_cast<uint8_t*>(out); break;
        case 'c': got = *reinterpret_cast<int8_t*>(out); break;
        case 'S': { uint16_t v; std::memcpy(&v, out, 2); got = v; break; }
        case 's': { int16_t v; std::memcpy(&v, out, 2); got = v; break; }
        case 'I': case 'L': { uint32_t v; std::memcpy(&v, out, 4); got = v; break; }
        case 'i': case 'l': { int32_t v; std::memcpy(&v, out, 4); got = v; break; }
        case 'f': { float v; std::memcpy(&v, out, 4); got = v; break; }
        case 'd': { double v; std::memcpy(&v, out, 8); got = v; break; }
        default: break;
        }
        if (c.ok)
            EXPECT_EQ(got, c.value) << c.type << " '" << c.input << "'";
        else
            EXPECT_EQ(out[0], 0xAB) << "out touched: " << c.type << " '" << c.input << "'";
    }
}

TEST(GString, ParseValueBool)
{
    const struct {
        const char* input;
        bool ok;
        uint8_t value;
    } cases[] = {
        {"TRUE", true, 1}, {"true", true, 1}, {" 1 ", true, 1}, {"False", false, 0},
        {"True", false, 0}, {"FALSE", true, 0}, {"0", true, 0}, {"-1", false, 0},
        {"yes", false, 0}, {"truex", false, 0}, {"", false, 0},
    };
    for (const auto& c : cases) {
        uint8_t out = 0xAB;
        EXPECT_EQ(GString(c.input).ParseValue(&out, 'b'), c.ok) << c.input;
        EXPECT_EQ(out, c.ok ? c.value : 0xAB) << c.input;
    }
}

TEST(GString, ParseValueRejectsEmbeddedNul)
{
    uint16_t out = 0;
    EXPECT_FALSE(GString("12\0" "3", 4).ParseValue(&out, 'S'));
}

}  // namespace
