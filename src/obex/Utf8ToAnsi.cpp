#include "obex/Utf8ToAnsi.h"

#include <vector>

#include "core/CodePage.h"

bool Utf8ToAnsi(const char* bytes, uint32_t length, char* output, uint32_t outputSize)
{
    if (output == nullptr || outputSize == 0)
        return false;
    output[0] = 0;
    if (bytes == nullptr)
        return false;

    // Never more units than the output could hold: in a single-byte code page every unit
    // needs one byte. Names fit the stack buffer; larger outputs take the heap.
    char16_t local[261];
    std::vector<char16_t> heap;
    char16_t* wide = local;
    if (outputSize > sizeof local / sizeof local[0]) {
        heap.resize(outputSize);
        wide = heap.data();
    }
    const uint32_t maxUnits = outputSize - 1;
    uint32_t units = 0;
    const auto* in = reinterpret_cast<const uint8_t*>(bytes);
    uint32_t i = 0;
    while (i < length) {
        const uint8_t lead = in[i];
        char16_t unit;
        if (lead < 0x80) {
            unit = lead;
            i += 1;
        } else if (lead >= 0xE0) {
            if (length - i < 3) {
                unit = 0xFFFD;
                i = length;
            } else {
                unit = static_cast<char16_t>(((lead & 0x0F) << 12) + ((in[i + 1] & 0x7F) << 6) +
                                             (in[i + 2] & 0x7F));
                i += 3;
            }
        } else {
            if (length - i < 2) {
                unit = 0xFFFD;
                i = length;
            } else {
                unit = static_cast<char16_t>(((lead & 0x1F) << 6) + (in[i + 1] & 0x7F));
                i += 2;
            }
        }
        if (unit == 0)
            break;
        if (units == maxUnits)
            return false;
        wide[units++] = unit;
    }
    wide[units] = 0;
    const int written = Utf16ToAnsi(wide, static_cast<int>(units) + 1, output,
                                    static_cast<int>(outputSize));
    if (written <= 0) {
        output[0] = 0;
        return false;
    }
    output[outputSize - 1] = 0;
    return true;
}
