// Number texts under the user's C runtime locale. The program calls setlocale(LC_ALL, "") at
// start; under a Russian locale the runtime's decimal separator becomes a comma, and the
// sizes it shows and the numbers it reads from phones must keep their point all the same.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

#include "core/ByteFormat.h"
#include "core/GString.h"

// Switches the C runtime to the user's locale as the program does, and back at the end.
class UserLocale {
public:
    UserLocale() : previous(std::setlocale(LC_ALL, nullptr)), switched(std::setlocale(LC_ALL, "") != nullptr) {}
    ~UserLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;

    bool Switched() const { return switched; }

private:
    std::string previous;
    bool switched;
};

inline void ExpectPointWhateverTheRuntimeLocale()
{
    // Without a comma in the runtime nothing below would be put to the test.
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    GString size;
    FormatByteSize(size, 1536, 1);
    EXPECT_STREQ(size.CStr(), "1.5 КБ");
    uint16_t whole = 0;
    EXPECT_TRUE(GString("12.9").ParseValue(&whole, 'S'));
    EXPECT_EQ(whole, 12);
    double exact = 0;
    EXPECT_TRUE(GString(" 2.25 ").ParseValue(&exact, 'd'));
    EXPECT_EQ(exact, 2.25);
    EXPECT_FALSE(GString("12,9").ParseValue(&whole, 'S'));
}
