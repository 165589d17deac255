#include "core/Locale.h"

#include <atomic>

namespace {

// Worker threads format numbers too.
std::atomic<char> thousands{' '};
std::atomic<char> decimal{','};

}  // namespace

char ThousandsSeparator() { return thousands.load(); }
void SetThousandsSeparator(char c) { thousands.store(c); }
char DecimalSeparator() { return decimal.load(); }
void SetDecimalSeparator(char c) { decimal.store(c); }
