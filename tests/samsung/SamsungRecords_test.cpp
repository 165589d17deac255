#include "samsung/SamsungRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SamsungRecords, SplitAtEveryPrefix)
{
    const struct {
        std::string text;
        std::vector<std::string> records;
    } cases[] = {
        {"+FSDI: 0,\"a\"+FSDI: 0,\"b\"", {"+FSDI: 0,\"a\"", "+FSDI: 0,\"b\""}},
        {"AT+FSDI=\"/\"+FSDI: 1", {"+FSDI: 1"}},  // an echo in front is dropped
        {"+FSDI:+FSDI:", {"+FSDI:", "+FSDI:"}},
        {"no records", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (std::string_view r : SplitRecords(c.text, "+FSDI:"))
            got.emplace_back(r);
        EXPECT_EQ(got, c.records) << c.text;
    }
}

TEST(SamsungRecords, LeadingNumberNeverOverflows)
{
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {{"1234", 1234},      {" 12abc", 12},          {"+7", 7},
                 {"-5", 0},           {"abc", 0},              {"", 0},
                 {"4294967295", 4294967295u}, {"4294967296", 4294967295u},
                 {"99999999999999999999999", 4294967295u}};
    for (const auto& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(SamsungRecords, TextAfterTheFirstMarker)
{
    EXPECT_STREQ(TextAfter("+MELR: 3,100", "R:").CStr(), " 3,100");
    EXPECT_STREQ(TextAfter("+UPLL: 1,2", "L:").CStr(), " 1,2");
    EXPECT_STREQ(TextAfter("R:R:x", "R:").CStr(), "R:x");
    EXPECT_STREQ(TextAfter("nothing", "R:").CStr(), "");
    EXPECT_STREQ(TextAfter("endR:", "R:").CStr(), "");
}

TEST(SamsungRecords, Dates)
{
    const struct {
        const char* text;
        bool photo;
        bool ok;
        std::vector<int> fields;  // year, month, day, hour, minute, second
    } cases[] = {
        {"2007:03:15 14:25:01", false, true, {2007, 3, 15, 14, 25, 1}},
        {"2007-03-15 14:25:01", false, false, {0, 0, 0, 0, 0, 0}},
        {"2007:03:15 14:25:0", false, false, {0, 0, 0, 0, 0, 0}},    // 18 bytes
        {"2007:xx:15 14:25:01", false, true, {2007, 0, 15, 14, 25, 1}},
        {"05/03/2007 10:20", true, true, {2007, 3, 5, 10, 20, 0}},
        {"05/03/2007 10:2", true, true, {2007, 3, 5, 10, 2, 0}},      // 15 bytes
        {"05/03/2007 10:", true, false, {0, 0, 0, 0, 0, 0}},
        {"2007/03/05 10:20", true, false, {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SystemTime t{};
        t.year = 1;
        const bool ok = c.photo ? ParsePhotoTime(c.text, t) : ParseFileSystemTime(c.text, t);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second}), c.fields)
            << c.text;
        EXPECT_EQ(t.dayOfWeek, 0);
        EXPECT_EQ(t.milliseconds, 0);
    }
}

}  // namespace
