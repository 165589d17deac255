#include "ui/StatusTexts.h"

#include <cstdio>

#include "core/ByteFormat.h"

StatusPartEdges InitialStatusEdges() { return StatusPartEdges{{300, 400, -1}}; }

StatusPartEdges StatusEdgesForWidth(int32_t width)
{
    const int32_t third = width / 3;
    return StatusPartEdges{{third, third + third / 2, -1}};
}

void FormatStatusMessage(GString& out, const char* format, va_list args)
{
    char buffer[kStatusMessageMax + 1] = {};
    if (format != nullptr) {
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
        const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
        if (written < 0)
            buffer[0] = '\0';
    }
    out.Assign(buffer);
}

void FormatStatusSize(GString& out, uint64_t bytes, bool hide)
{
    if (hide)
        out = GString();
    else
        FormatByteSize(out, bytes, 1);
}

void FormatStatusMemory(GString& shortText, GString& longText, uint32_t freeBytes, uint32_t totalBytes, bool hide)
{
    shortText = GString();
    longText = GString();
    if (hide || (freeBytes == 0 && totalBytes == 0))
        return;
    GString total;
    FormatByteSize(shortText, freeBytes, 1);
    FormatByteSize(total, totalBytes, 1);
    shortText.Append(" / ");
    shortText.Append(total);

    GString freeCount(freeBytes);
    GString totalCount(totalBytes);
    GroupDigits(freeCount);
    GroupDigits(totalCount);
    longText.Assign("Свободно / Всего\n");
    longText.Append(freeCount);
    longText.Append(" байт / ");
    longText.Append(totalCount);
    longText.Append(" байт");
}
