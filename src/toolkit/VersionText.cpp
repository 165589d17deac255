#include "toolkit/VersionText.h"

#include <cstring>

namespace {

// Counts the integer conversions ("%d" with flags, width and precision); false on any other
// conversion, which would read an argument that is not there.
bool CountIntegerConversions(const char* text, int& count)
{
    count = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        p += std::strspn(p, "-+ #0");
        p += std::strspn(p, "0123456789");
        if (*p == '.') {
            ++p;
            p += std::strspn(p, "0123456789");
        }
        if (*p != 'd' && *p != 'u')
            return false;
        ++count;
    }
    return true;
}

}  // namespace

void FormatVersionLine(GString& out, const char* templateText, uint32_t major, uint32_t minor)
{
    int count = 0;
    if (templateText == nullptr || !CountIntegerConversions(templateText, count) || count != 2) {
        out.Assign(templateText);
        return;
    }
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    out.Format(templateText, static_cast<unsigned>(major), static_cast<unsigned>(minor));
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}
