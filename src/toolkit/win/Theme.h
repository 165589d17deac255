// The visual-style functions, taken from UxTheme.dll at run time. Where the library or one of
// its functions is missing, each call answers as if no theme were active (null handle, FALSE,
// E_FAIL, white for the system colour), so callers fall back to the classic look.
#pragma once

#include <windows.h>
#include <uxtheme.h>

class ThemeApi {
public:
    // The process's binding: UxTheme.dll, loaded on first use and kept.
    static const ThemeApi& Get();
    // Functions looked up in the given module; a null module gives the classic look throughout.
    explicit ThemeApi(HMODULE module);

    HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList) const;
    HRESULT CloseThemeData(HTHEME theme) const;
    HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) const;
    HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD flags,
                          DWORD flags2, const RECT* rect) const;
    HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge, UINT flags,
                          RECT* content) const;
    HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect) const;
    BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) const;
    BOOL IsThemeActive() const;
    BOOL IsAppThemed() const;
    COLORREF GetThemeSysColor(HTHEME theme, int colourId) const;
    HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE which,
                             SIZE* size) const;
    HRESULT SetWindowTheme(HWND hwnd, LPCWSTR appName, LPCWSTR idList) const;

private:
    HTHEME(WINAPI* openThemeData)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* closeThemeData)(HTHEME) = nullptr;
    HRESULT(WINAPI* drawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* drawThemeText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;
    HRESULT(WINAPI* drawThemeEdge)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) = nullptr;
    HRESULT(WINAPI* drawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
    BOOL(WINAPI* isThemeBackgroundPartiallyTransparent)(HTHEME, int, int) = nullptr;
    BOOL(WINAPI* isThemeActive)() = nullptr;
    BOOL(WINAPI* isAppThemed)() = nullptr;
    COLORREF(WINAPI* getThemeSysColor)(HTHEME, int) = nullptr;
    HRESULT(WINAPI* getThemePartSize)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*) = nullptr;
    HRESULT(WINAPI* setWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
};

// A theme handle of one window and class list, closed when it goes. Null under the classic
// look.
class ThemeHandle {
public:
    ThemeHandle(HWND hwnd, LPCWSTR classList) : theme(ThemeApi::Get().OpenThemeData(hwnd, classList)) {}
    ~ThemeHandle()
    {
        if (theme != nullptr)
            ThemeApi::Get().CloseThemeData(theme);
    }
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;

    HTHEME Get() const { return theme; }
    explicit operator bool() const { return theme != nullptr; }

private:
    HTHEME theme;
};
