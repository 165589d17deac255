// The Wine tests run under a Russian locale, so setlocale(LC_ALL, "") gives the runtime a
// decimal comma, as it does in the program.
#include <gtest/gtest.h>

#include "support/DecimalPoint.h"

TEST(UserLocale, SizesAndPhoneNumbersKeepTheirPoint)
{
    UserLocale russian;
    ASSERT_TRUE(russian.Switched());
    ExpectPointWhateverTheRuntimeLocale();
}
