#include "core/GString.h"

#include "core/CodePage.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kNul = '\0';

char* NewBlock(uint32_t length)
{
    char* block = new char[static_cast<size_t>(length) + 1];
    block[length] = '\0';
    return block;
}

uint32_t SafeLength(const char* s)
{
    return s != nullptr ? static_cast<uint32_t>(std::strlen(s)) : 0;
}

// Decimal digits of a value; std::to_chars never looks at the C runtime's locale.
uint32_t PrintNumber(uint64_t value, char (&text)[24])
{
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return static_cast<uint32_t>(result.ptr - text);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

GString::GString() : length(0), buffer(NewBlock(0)) {}

GString::GString(const char* s) : GString(s, SafeLength(s)) {}

GString::GString(const char* bytes, uint32_t count) : length(0), buffer(nullptr)
{
    if (bytes == nullptr)
        count = 0;
    buffer = NewBlock(count);
    if (count > 0)
        std::memcpy(buffer, bytes, count);
    length = count;
}

GString::GString(const char16_t* s) : GString()
{
    Assign(s);
}

GString::GString(char c) : GString(&c, c != '\0' ? 1 : 0) {}

GString::GString(uint32_t value) : GString()
{
    Assign(value);
}

GString::GString(const GString& other) : GString(other.buffer, other.length) {}

GString& GString::operator=(const GString& other)
{
    Assign(other);
    return *this;
}

GString& GString::operator=(const char* s)
{
    Assign(s);
    return *this;
}

GString::~GString()
{
    delete[] buffer;
}

void GString::Replace(char* block, uint32_t newLength)
{
    delete[] buffer;
    buffer = block;
    length = newLength;
}

void GString::Assign(const char* s)
{
    Assign(s, SafeLength(s));
}

void GString::Assign(const char* bytes, uint32_t count)
{
    if (bytes == nullptr)
        count = 0;
    char* block = NewBlock(count);
    if (count > 0)
        std::memcpy(block, bytes, count);  // bytes may lie inside the old block
    Replace(block, count);
}

void GString::Assign(const GString& s)
{
    if (&s != this)
        Assign(s.buffer, s.length);
}

void GString::Assign(const char16_t* s)
{
    if (s == nullptr) {
        Replace(NewBlock(0), 0);
        return;
    }
    uint32_t n = 0;
    while (s[n] != 0)
        ++n;
    Assign(s, n);
}

void GString::Assign(const char16_t* s, uint32_t count)
{
    if (s == nullptr || count == 0 || count > 0x7FFFFFFFu) {
        Replace(NewBlock(0), 0);
        return;
    }
    const int n = static_cast<int>(count);
    const int needed = Utf16ToAnsi(s, n, nullptr, 0);
    if (needed <= 0) {
        Replace(NewBlock(0), 0);
        return;
    }
    char* block = NewBlock(static_cast<uint32_t>(needed));
    const int written = Utf16ToAnsi(s, n, block, needed);
    block[written > 0 ? written : 0] = '\0';
    Replace(block, written > 0 ? static_cast<uint32_t>(written) : 0);
}

void GString::Assign(uint32_t value)
{
    char text[24];
    const uint32_t n = PrintNumber(value, text);
    Assign(text, n);
}

void GString::Append(const GString& s)
{
    Append(s.buffer, s.length);
}

void GString::Append(const char* s)
{
    Append(s, SafeLength(s));
}

void GString::Append(const char* bytes, uint32_t count)
{
    if (bytes == nullptr || count == 0)
        return;
    char* block = NewBlock(length + count);
    std::memcpy(block, buffer, length);
    std::memcpy(block + length, bytes, count);
    Replace(block, length + count);
}

void GString::Append(int32_t value)
{
    const int64_t wide = value;
    if (wide < 0)
        AppendChar('-');
    char text[24];
    const uint32_t n = PrintNumber(static_cast<uint64_t>(wide < 0 ? -wide : wide), text);
    Append(text, n);
}

void GString::Append(uint32_t value)
{
    char text[24];
    const uint32_t n = PrintNumber(value, text);
    Append(text, n);
}

void GString::AppendChar(char c)
{
    Append(&c, 1);
}

GString GString::Concat(const GString& b) const
{
    GString result(*this);
    result.Append(b);
    return result;
}

const char* GString::At(uint32_t i) const
{
    return i <= length ? buffer + i : &kNul;
}

bool GString::Equals(const char* s) const
{
    const uint32_t n = SafeLength(s);
    return n > 0 && n == length && std::memcmp(buffer, s, n) == 0;
}

bool GString::Equals(const GString& s) const
{
    return s.length > 0 && s.length == length && std::memcmp(buffer, s.buffer, length) == 0;
}

uint32_t GString::Find(const char* s) const
{
    return FindFrom(s, 1);
}

uint32_t GString::FindFrom(const char* s, uint32_t from) const
{
    const uint32_t n = SafeLength(s);
    if (from == 0)
        from = 1;
    if (n == 0 || from > length)
        return 0;
    const uint32_t start = from - 1;
    const uint32_t rest = length - start;
    if (n > rest)
        return 0;
    for (uint32_t i = 0; i + n <= rest; ++i) {
        if (std::memcmp(buffer + start + i, s, n) == 0)
            return i + 1;
    }
    return 0;
}

void GString::Trim()
{
    uint32_t begin = 0;
    uint32_t end = length;
    while (begin < end && buffer[begin] == ' ')
        ++begin;
    while (end > begin && buffer[end - 1] == ' ')
        --end;
    if (begin != 0 || end != length)
        Assign(buffer + begin, end - begin);
}

void GString::ToUpper()
{
    AnsiUpper(buffer, length);
}

void GString::Format(const char* fmt, ...)
{
    if (fmt == nullptr) {
        Replace(NewBlock(0), 0);
        return;
    }
    // Some C runtimes answer -1 instead of the needed size, so grow by doubling; the cap stops
    // a format that can never succeed (an encoding error) from looping forever.
    const size_t kLimit = 64u << 20;
    for (size_t size = 32; size <= kLimit; size *= 2) {
        char* work = new char[size];
        va_list args;
        va_start(args, fmt);
        const int n = std::vsnprintf(work, size, fmt, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < size) {
            Assign(work, static_cast<uint32_t>(n));
            delete[] work;
            return;
        }
        delete[] work;
    }
    Replace(NewBlock(0), 0);
}

bool GString::ParseValue(void* out, char type) const
{
    if (out == nullptr)
        return false;
    const char* p = buffer;
    const char* end = buffer + length;
    while (p < end && IsBlank(*p))
        ++p;
    if (p == end)
        return false;
    const bool isUnsigned = type == 'C' || type == 'I' || type == 'L' || type == 'S';
    if ((isUnsigned || type == 'b') && *p == '-')
        return false;

    if (type == 'b') {
        const char* q = end;
        while (q > p && IsBlank(q[-1]))
            --q;
        const GString word(p, static_cast<uint32_t>(q - p));
        uint8_t value;
        if (word.Equals("true") || word.Equals("1") || word.Equals("TRUE"))
            value = 1;
        else if (word.Equals("false") || word.Equals("0") || word.Equals("FALSE"))
            value = 0;
        else
            return false;
        std::memcpy(out, &value, 1);
        return true;
    }

    // std::from_chars reads a point as the decimal separator whatever locale the C runtime was
    // switched to. It takes no leading '+', so that one is skipped here.
    const char* digits = p;
    if (*digits == '+' && digits + 1 < end && digits[1] != '-' && digits[1] != '+')
        ++digits;
    double v = 0;
    const std::from_chars_result read = std::from_chars(digits, end, v);
    if (read.ec != std::errc() || (v == 0.0 && *p != '0'))
        return false;
    const char* q = read.ptr;
    if ((type == 'L' || type == 'l') && q < end && (*q == 'l' || *q == 'L'))
        ++q;
    if ((type == 'd' || type == 'f') && q < end && (*q == 'f' || *q == 'F'))
        ++q;
    while (q < end && IsBlank(*q))
        ++q;
    if (q != end)
        return false;

    auto inRange = [v](double lo, double hi) { return v >= lo && v <= hi; };
    switch (type) {
    case 'C': {
        if (!inRange(0, 255))
            return false;
        const uint8_t x = static_cast<uint8_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'S': {
        if (!inRange(0, 65535))
            return false;
        const uint16_t x = static_cast<uint16_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'I':
    case 'L': {
        if (!inRange(0, 4294967295.0))
            return false;
        const uint32_t x = static_cast<uint32_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'c': {
        if (!inRange(-128, 127))
            return false;
        const int8_t x = static_cast<int8_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 's': {
        if (!inRange(-32768, 32767))
            return false;
        const int16_t x = static_cast<int16_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'i':
    case 'l': {
        if (!inRange(-2147483648.0, 2147483647.0))
            return false;
        const int32_t x = static_cast<int32_t>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'f': {
        if (!inRange(-3.402823466e38, 3.402823466e38))
            return false;
        const float x = static_cast<float>(v);
        std::memcpy(out, &x, sizeof x);
        return true;
    }
    case 'd':
        std::memcpy(out, &v, sizeof v);
        return true;
    default:
        return false;
    }
}
