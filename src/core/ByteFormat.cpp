#include "core/ByteFormat.h"

#include "core/Locale.h"

#include <charconv>

void FormatByteSize(GString& out, uint64_t count, int decimals)
{
    if (count < 1024) {
        out.Assign(static_cast<uint32_t>(count));
        out.Append(" байт");
        return;
    }
    if (decimals < 0)
        decimals = 0;
    else if (decimals > 20)
        decimals = 20;
    double x = count / 1024.0;
    const char* unit = "КБ";
    if (x >= 1024) {
        x /= 1024;
        unit = "МБ";
        if (x >= 1024) {
            x /= 1024;
            unit = "ГБ";
        }
    }
    // Not printf: the program switches the C runtime to the user's locale, whose decimal
    // separator may be a comma; std::to_chars always writes a point.
    char text[48];
    const std::to_chars_result printed =
        std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, decimals);
    out.Assign(text, static_cast<uint32_t>(printed.ptr - text));
    out.Append(" ");
    out.Append(unit);
}

void GroupDigits(GString& digits)
{
    const uint32_t length = digits.Length();
    if (length < 4)
        return;
    const char separator = ThousandsSeparator();
    const char* text = digits.CStr();
    GString grouped;
    const uint32_t head = length % 3;
    for (uint32_t i = 0; i < length; ++i) {
        if (i > 0 && i >= head && (i - head) % 3 == 0)
            grouped.AppendChar(separator);
        grouped.AppendChar(text[i]);
    }
    digits = grouped;
}
