#include "toolkit/win/ScreenPlacementWin.h"

#include "toolkit/ScreenPlacement.h"

void KeepWindowOnScreen(HWND window)
{
    RECT outer{};
    if (window == nullptr || !GetWindowRect(window, &outer))
        return;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (screenWidth <= 0 || screenHeight <= 0)
        return;
    ScreenRect rect{outer.left, outer.top, outer.right, outer.bottom};
    if (KeepOnScreen(rect, screenWidth, screenHeight))
        SetWindowPos(window, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
