#include <gtest/gtest.h>

#include "toolkit/VersionText.h"

TEST(VersionText, TwoNumbersIntoTheTemplateOrTheTemplateUnchanged)
{
    const struct {
        const char* templ;
        uint32_t major, minor;
        const char* text;
    } cases[] = {
        {"Версия %01.1d.%01.1d  beta", 1, 0, "Версия 1.0  beta"},
        {"Версия %01.1d.%01.1d  beta", 12, 3, "Версия 12.3  beta"},
        {"%d.%d (100%%)", 2, 5, "2.5 (100%)"},
        // Anything printf would read beyond the two numbers keeps the template as it is.
        {"Версия %d", 1, 0, "Версия %d"},
        {"%d.%d.%d", 1, 0, "%d.%d.%d"},
        {"%s %d", 1, 0, "%s %d"},
        {"%d.%d %", 1, 0, "%d.%d %"},
    };
    for (const auto& c : cases) {
        GString out;
        FormatVersionLine(out, c.templ, c.major, c.minor);
        EXPECT_STREQ(out.CStr(), c.text) << c.templ;
    }
}
