// The build makes a Russian C library locale in its own tree (QV_LOCALE_DIR); the process
// selects it through the environment and then calls setlocale(LC_ALL, "") as the program does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/DecimalPoint.h"

namespace {

// Sets an environment variable for the length of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (hadValue)
            previous = old;
        setenv(name, value, 1);
    }
    ~ScopedEnvironment()
    {
        if (hadValue)
            setenv(name, previous.c_str(), 1);
        else
            unsetenv(name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name;
    std::string previous;
    bool hadValue = false;
};

TEST(UserLocale, SizesAndPhoneNumbersKeepTheirPoint)
{
    ScopedEnvironment path("LOCPATH", QV_LOCALE_DIR);
    ScopedEnvironment all("LC_ALL", "ru_RU.UTF-8");
    UserLocale russian;
    if (!russian.Switched())
        GTEST_SKIP() << "no ru_RU.UTF-8 locale under " << QV_LOCALE_DIR;
    ExpectPointWhateverTheRuntimeLocale();
}

}  // namespace
