#include "core/CodePage.h"

#include <climits>

std::u16string AnsiToUtf16(std::string_view s)
{
    if (s.empty() || s.size() > INT_MAX)
        return {};
    const int n = static_cast<int>(s.size());
    const int needed = AnsiToUtf16(s.data(), n, nullptr, 0);
    if (needed <= 0)
        return {};
    std::u16string out(static_cast<size_t>(needed), u'\0');
    const int written = AnsiToUtf16(s.data(), n, out.data(), needed);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

std::string Utf16ToAnsi(std::u16string_view s, bool* usedDefault)
{
    if (usedDefault != nullptr)
        *usedDefault = false;
    if (s.empty() || s.size() > INT_MAX)
        return {};
    const int n = static_cast<int>(s.size());
    const int needed = Utf16ToAnsi(s.data(), n, nullptr, 0);
    if (needed <= 0)
        return {};
    std::string out(static_cast<size_t>(needed), '\0');
    const int written = Utf16ToAnsi(s.data(), n, out.data(), needed, usedDefault);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}
