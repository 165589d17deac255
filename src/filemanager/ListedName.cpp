#include "filemanager/ListedName.h"

#include <cstring>

bool IsSafeListedName(const GString& name)
{
    if (name.IsEmpty() || name.Equals(".") || name.Equals(".."))
        return false;
    const char* text = name.CStr();
    for (uint32_t i = 0; i < name.Length(); ++i) {
        if (text[i] == '\\' || text[i] == '/')
            return false;
    }
    return true;
}

namespace {
bool IsDesktopUnsafe(unsigned char c)
{
    return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}
}  // namespace

GString DesktopSafeName(const GString& name)
{
    if (name.IsEmpty() || name.Equals(".") || name.Equals(".."))
        return GString("_");
    GString safe;
    const char* text = name.CStr();
    for (uint32_t i = 0; i < name.Length(); ++i)
        safe.AppendChar(IsDesktopUnsafe(static_cast<unsigned char>(text[i])) ? '_' : text[i]);
    return safe;
}
