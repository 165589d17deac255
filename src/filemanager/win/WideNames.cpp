#include "filemanager/win/WideNames.h"

#include <cwchar>
#include <string>

GString AnsiName(const wchar_t* wide, int length)
{
    if (wide == nullptr)
        return GString();
    if (length < 0)
        length = static_cast<int>(std::wcslen(wide));
    if (length == 0)
        return GString();
    // No best fit: every character without its own byte is the default '?'.
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
    if (needed <= 0)
        return GString("?");
    std::string ansi(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, ansi.data(), needed, "?", nullptr);
    // Whatever does not come back as it was is marked too, in case the code page maps a
    // character to a byte that reads back as another.
    const int back = MultiByteToWideChar(CP_ACP, 0, ansi.data(), needed, nullptr, 0);
    std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), needed, again.data(), back);
    if (again.size() == static_cast<size_t>(length) && needed == length) {
        for (int i = 0; i < length; ++i) {
            if (again[static_cast<size_t>(i)] != wide[i])
                ansi[static_cast<size_t>(i)] = '?';
        }
    } else if (again.compare(0, std::wstring::npos, wide, static_cast<size_t>(length)) != 0 &&
               ansi.find('?') == std::string::npos) {
        ansi.push_back('?');
    }
    return GString(ansi.c_str(), static_cast<uint32_t>(ansi.size()));
}

std::vector<GString> DroppedPaths(HDROP files)
{
    std::vector<GString> paths;
    if (files == nullptr)
        return paths;
    const UINT count = DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Read in full, never cut to a buffer: a shortened path could name another file.
        const UINT length = DragQueryFileW(files, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT got = DragQueryFileW(files, i, path.data(), length + 1);
        if (got == 0)
            continue;
        paths.push_back(AnsiName(path.data(), static_cast<int>(got)));
    }
    return paths;
}
