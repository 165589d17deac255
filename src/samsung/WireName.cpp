#include "samsung/WireName.h"

#include "core/CodePage.h"
#include "samsung/Utf8Encoder.h"

bool ToWireName(const GString& name, char16_t* wide, char* bytes)
{
    bytes[0] = 0;
    if (name.IsEmpty())
        return false;
    for (uint32_t i = 0; i < name.Length(); ++i) {
        const char c = *name.At(i);
        if (c == '"' || c == '\r' || c == '\n' || c == 0)
            return false;
    }
    // The terminator is converted too, so a name that fills the buffer without it fails here.
    if (AnsiToUtf16(name.CStr(), -1, wide, kWireNameBuffer) <= 0)
        return false;
    return EncodeUtf8(wide, kWireNameBuffer, bytes, kWireNameBuffer) > 0;
}
