#include "core/CodePage.h"

#include <windows.h>

// winuser.h maps the old name AnsiUpper to CharUpperA; the seam keeps its own name.
#undef AnsiUpper

int AnsiToUtf16(const char* s, int n, char16_t* out, int outCap)
{
    if (s == nullptr || n == 0)
        return 0;
    if (out == nullptr || outCap <= 0)
        return MultiByteToWideChar(CP_ACP, 0, s, n, nullptr, 0);
    return MultiByteToWideChar(CP_ACP, 0, s, n, reinterpret_cast<wchar_t*>(out), outCap);
}

int Utf16ToAnsi(const char16_t* s, int n, char* out, int outCap, bool* usedDefault)
{
    if (usedDefault != nullptr)
        *usedDefault = false;
    if (s == nullptr || n == 0)
        return 0;
    const wchar_t* w = reinterpret_cast<const wchar_t*>(s);
    if (out == nullptr || outCap <= 0)
        return WideCharToMultiByte(CP_ACP, 0, w, n, nullptr, 0, nullptr, nullptr);
    BOOL defaulted = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, 0, w, n, out, outCap, nullptr, &defaulted);
    if (usedDefault != nullptr)
        *usedDefault = written > 0 && defaulted;
    return written;
}

void AnsiUpper(char* s, uint32_t n)
{
    if (s != nullptr && n > 0)
        CharUpperBuffA(s, n);
}
