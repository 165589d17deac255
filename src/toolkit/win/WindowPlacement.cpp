#include "toolkit/win/WindowPlacement.h"

void CentreOnScreen(HWND hwnd)
{
    RECT r{};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (hwnd == nullptr || screenWidth <= 0 || screenHeight <= 0 || !GetWindowRect(hwnd, &r))
        return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    SetWindowPos(hwnd, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BringToForeground(HWND hwnd)
{
    if (hwnd == nullptr)
        return;
    const DWORD own = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : own;
    const bool attached = other != own && AttachThreadInput(own, other, TRUE);
    SetForegroundWindow(hwnd);
    BringWindowToTop(hwnd);
    SetFocus(hwnd);
    if (attached)
        AttachThreadInput(own, other, FALSE);
}
