// Windows-1251 for the native build. 0x98 has no character in the code page; like Windows,
// it maps to U+0098 so that every byte survives a round trip.
#include "core/CodePage.h"

#include <cstring>

namespace {

const char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

char16_t ToUnit(unsigned char b)
{
    return b < 0x80 ? static_cast<char16_t>(b) : kHigh[b - 0x80];
}

// The byte of a unit, or -1 when the code page has none.
int ToByte(char16_t u)
{
    if (u < 0x80)
        return u;
    if (u >= 0x0410 && u <= 0x044F)  // the contiguous Russian alphabet
        return 0xC0 + (u - 0x0410);
    for (int i = 0; i < 0x40; ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
    }
    return -1;
}

int InputLength(const char* s, int n)
{
    return n < 0 ? static_cast<int>(std::strlen(s)) + 1 : n;
}

int InputLength(const char16_t* s, int n)
{
    if (n >= 0)
        return n;
    int len = 0;
    while (s[len] != 0)
        ++len;
    return len + 1;
}

}  // namespace

int AnsiToUtf16(const char* s, int n, char16_t* out, int outCap)
{
    if (s == nullptr || n == 0)
        return 0;
    const int len = InputLength(s, n);
    if (out == nullptr || outCap <= 0)
        return len;
    if (outCap < len)
        return 0;
    for (int i = 0; i < len; ++i)
        out[i] = ToUnit(static_cast<unsigned char>(s[i]));
    return len;
}

int Utf16ToAnsi(const char16_t* s, int n, char* out, int outCap, bool* usedDefault)
{
    if (usedDefault != nullptr)
        *usedDefault = false;
    if (s == nullptr || n == 0)
        return 0;
    const int len = InputLength(s, n);
    if (out == nullptr || outCap <= 0)
        return len;
    if (outCap < len)
        return 0;
    for (int i = 0; i < len; ++i) {
        const int b = ToByte(s[i]);
        if (b < 0 && usedDefault != nullptr)
            *usedDefault = true;
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return len;
}

void AnsiUpper(char* s, uint32_t n)
{
    if (s == nullptr)
        return;
    for (uint32_t i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        unsigned char u = b;
        if ((b >= 'a' && b <= 'z') || b >= 0xE0)
            u = b - 0x20;
        else {
            switch (b) {
            case 0x83: u = 0x81; break;  // ѓ
            case 0x90: u = 0x80; break;  // ђ
            case 0x9A: case 0x9C: case 0x9D: case 0x9E: case 0x9F: u = b - 0x10; break;
            case 0xA2: u = 0xA1; break;  // ў
            case 0xB3: u = 0xB2; break;  // і
            case 0xB4: u = 0xA5; break;  // ґ
            case 0xB8: case 0xBA: case 0xBF: u = b - 0x10; break;  // ё є ї
            case 0xBC: u = 0xA3; break;  // ј
            case 0xBE: u = 0xBD; break;  // ѕ
            default: break;
            }
        }
        s[i] = static_cast<char>(u);
    }
}
