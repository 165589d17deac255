#include "core/ByteFormat.h"

#include "core/Locale.h"

void FormatByteSize(GString& out, uint32_t count, int decimals)
{
    if (count < 1024) {
        out.Assign(count);
        out.Append(" байт");
        return;
    }
    if (decimals < 0)
        decimals = 0;
    else if (decimals > 20)
        decimals = 20;
    GString format("%0.");
    format.Append(decimals);
    format.Append("f %s");

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
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    out.Format(format.CStr(), x, unit);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
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
