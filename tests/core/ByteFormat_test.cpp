#include "core/ByteFormat.h"
#include "core/Locale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatByteSize, OneDecimal)
{
    const struct {
        uint64_t count;
        const char* text;
    } cases[] = {
        {0, "0 байт"},           {1, "1 байт"},          {1023, "1023 байт"},
        {1024, "1.0 КБ"},        {1536, "1.5 КБ"},       {1048575, "1024.0 КБ"},
        {1048576, "1.0 МБ"},     {1572864, "1.5 МБ"},    {1073741823, "1024.0 МБ"},
        {1073741824, "1.0 ГБ"},  {4294967295u, "4.0 ГБ"},
        {5368709120u, "5.0 ГБ"},  // a folder of large videos: the total is not wrapped at 4 GiB
    };
    for (const auto& c : cases) {
        GString out("old");
        FormatByteSize(out, c.count, 1);
        EXPECT_EQ(std::string(out.CStr()), c.text) << c.count;
    }
    GString out;
    FormatByteSize(out, 1536, 2);
    EXPECT_EQ(std::string(out.CStr()), "1.50 КБ");
    FormatByteSize(out, 1536, 0);
    EXPECT_EQ(std::string(out.CStr()), "2 КБ");
}

class GroupDigitsTest : public ::testing::Test {
protected:
    void TearDown() override { SetThousandsSeparator(' '); }
};

TEST_F(GroupDigitsTest, InsertsTheLocaleSeparator)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},       {"1", "1"},           {"999", "999"},           {"1234", "1 234"},
        {"12345", "12 345"}, {"123456", "123 456"}, {"1234567", "1 234 567"},
        {"4294967295", "4 294 967 295"},
    };
    EXPECT_EQ(ThousandsSeparator(), ' ');
    for (const auto& c : cases) {
        GString s(c.in);
        GroupDigits(s);
        EXPECT_EQ(std::string(s.CStr()), c.out) << c.in;
    }
    SetThousandsSeparator('\xA0');
    GString s("1234567");
    GroupDigits(s);
    EXPECT_EQ(std::string(s.CStr()), "1\xA0" "234\xA0" "567");
}

TEST(Locale, DecimalSeparatorDefaultsAndChanges)
{
    EXPECT_EQ(DecimalSeparator(), ',');
    SetDecimalSeparator('.');
    EXPECT_EQ(DecimalSeparator(), '.');
    SetDecimalSeparator(',');
}

}  // namespace
