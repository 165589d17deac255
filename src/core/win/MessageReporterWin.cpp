// The reporter's texts come from the program's own string table and the system's error
// table; boxes are MessageBoxA.
#include "core/MessagePlatform.h"

#include <windows.h>

#include <vector>

namespace MessagePlatform {

bool LoadText(uint32_t id, uint32_t capacity, GString& out)
{
    std::vector<char> buffer(capacity);
    SetLastError(ERROR_SUCCESS);
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(capacity));
    if (n <= 0) {
        // A string missing from a block that exists leaves no error behind; name the failure
        // so that the user is not shown the text for success.
        if (GetLastError() == ERROR_SUCCESS)
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return false;
    }
    out.Assign(buffer.data(), static_cast<uint32_t>(n));
    return true;
}

GString SystemText(uint32_t code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0x0400, reinterpret_cast<char*>(&text), 0, nullptr);
    GString result;
    if (n > 0 && text != nullptr)
        result.Assign(text, n);
    if (text != nullptr)
        LocalFree(text);
    return result;
}

uint32_t LastErrorCode() { return GetLastError(); }

void SetLastErrorCode(uint32_t code) { SetLastError(code); }

int ShowBox(WindowHandle owner, const char* text, const char* caption, unsigned style)
{
    return MessageBoxA(owner, text, caption, style);
}

}  // namespace MessagePlatform
