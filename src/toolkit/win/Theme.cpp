#include "toolkit/win/Theme.h"

namespace {
template <typename F>
void Find(HMODULE module, const char* name, F& out)
{
    out = module != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
}  // namespace

const ThemeApi& ThemeApi::Get()
{
    static const ThemeApi api(LoadLibraryA("UxTheme.dll"));
    return api;
}

ThemeApi::ThemeApi(HMODULE module)
{
    Find(module, "OpenThemeData", openThemeData);
    Find(module, "CloseThemeData", closeThemeData);
    Find(module, "DrawThemeBackground", drawThemeBackground);
    Find(module, "DrawThemeText", drawThemeText);
    Find(module, "DrawThemeEdge", drawThemeEdge);
    Find(module, "DrawThemeParentBackground", drawThemeParentBackground);
    Find(module, "IsThemeBackgroundPartiallyTransparent", isThemeBackgroundPartiallyTransparent);
    Find(module, "IsThemeActive", isThemeActive);
    Find(module, "IsAppThemed", isAppThemed);
    Find(module, "GetThemeSysColor", getThemeSysColor);
    Find(module, "GetThemePartSize", getThemePartSize);
    Find(module, "SetWindowTheme", setWindowTheme);
}

HTHEME ThemeApi::OpenThemeData(HWND hwnd, LPCWSTR classList) const
{
    return openThemeData != nullptr ? openThemeData(hwnd, classList) : nullptr;
}

HRESULT ThemeApi::CloseThemeData(HTHEME theme) const
{
    return closeThemeData != nullptr ? closeThemeData(theme) : E_FAIL;
}

HRESULT ThemeApi::DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                      const RECT* clip) const
{
    return drawThemeBackground != nullptr ? drawThemeBackground(theme, dc, part, state, rect, clip) : E_FAIL;
}

HRESULT ThemeApi::DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD flags,
                                DWORD flags2, const RECT* rect) const
{
    return drawThemeText != nullptr ? drawThemeText(theme, dc, part, state, text, count, flags, flags2, rect)
                                    : E_FAIL;
}

HRESULT ThemeApi::DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge,
                                UINT flags, RECT* content) const
{
    return drawThemeEdge != nullptr ? drawThemeEdge(theme, dc, part, state, rect, edge, flags, content) : E_FAIL;
}

HRESULT ThemeApi::DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect) const
{
    return drawThemeParentBackground != nullptr ? drawThemeParentBackground(hwnd, dc, rect) : E_FAIL;
}

BOOL ThemeApi::IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) const
{
    return isThemeBackgroundPartiallyTransparent != nullptr ? isThemeBackgroundPartiallyTransparent(theme, part, state)
                                                            : FALSE;
}

BOOL ThemeApi::IsThemeActive() const { return isThemeActive != nullptr ? isThemeActive() : FALSE; }

BOOL ThemeApi::IsAppThemed() const { return isAppThemed != nullptr ? isAppThemed() : FALSE; }

COLORREF ThemeApi::GetThemeSysColor(HTHEME theme, int colourId) const
{
    return getThemeSysColor != nullptr ? getThemeSysColor(theme, colourId) : RGB(255, 255, 255);
}

HRESULT ThemeApi::GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE which,
                                   SIZE* size) const
{
    return getThemePartSize != nullptr ? getThemePartSize(theme, dc, part, state, rect, which, size) : E_FAIL;
}

HRESULT ThemeApi::SetWindowTheme(HWND hwnd, LPCWSTR appName, LPCWSTR idList) const
{
    return setWindowTheme != nullptr ? setWindowTheme(hwnd, appName, idList) : E_FAIL;
}
