#include "samsung/Utf8Encoder.h"

int32_t EncodeUtf8(const char16_t* text, uint32_t count, char* out, uint32_t outCap)
{
    if (out == nullptr || outCap == 0)
        return -1;
    uint32_t used = 0;
    for (uint32_t i = 0; text != nullptr && i < count && text[i] != 0; ++i) {
        const uint32_t c = text[i];
        const uint32_t width = c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
        if (used + width + 1 > outCap) {  // keep room for the terminator
            out[0] = 0;
            return -1;
        }
        if (width == 1) {
            out[used++] = static_cast<char>(c);
        } else if (width == 2) {
            out[used++] = static_cast<char>(0xC0 | (c >> 6));
            out[used++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out[used++] = static_cast<char>(0xE0 | (c >> 12));
            out[used++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out[used++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out[used] = 0;
    return static_cast<int32_t>(used);
}
