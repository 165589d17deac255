#include "toolkit/win/SeparatorControl.h"

#include <vssym32.h>

#include "toolkit/win/Theme.h"

SeparatorControl::~SeparatorControl() { DestroyNativeWindow(); }

bool SeparatorControl::Create(TWindow* parent)
{
    if (parent == nullptr || parent->Handle() == nullptr ||
        !RegisterWindowClass(0, nullptr, GetSysColorBrush(COLOR_BTNFACE), kClassName, CS_HREDRAW | CS_VREDRAW))
        return false;
    return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, 16, parent->Handle(), nullptr,
                           GetModuleHandleA(nullptr), this) != nullptr;
}

void SeparatorControl::SetVertical(bool on)
{
    if (vertical == on)
        return;
    vertical = on;
    Invalidate();
}

LRESULT SeparatorControl::OnEraseBackground(HDC) { return 1; }

LRESULT SeparatorControl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle, &ps);
    RECT client{};
    GetClientRect(handle, &client);
    ThemeHandle theme(handle, L"TOOLBAR");
    const ThemeApi& api = ThemeApi::Get();
    if (theme) {
        if (FAILED(api.DrawThemeParentBackground(handle, dc, &client)))
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        api.DrawThemeBackground(theme.Get(), dc, vertical ? TP_SEPARATOR : TP_SEPARATORVERT, TS_NORMAL, &client,
                                nullptr);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        RECT line = client;
        if (vertical) {
            line.left = (client.left + client.right) / 2 - 1;
            line.right = line.left + 2;
            InflateRect(&line, 0, -1);
            DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        } else {
            line.top = (client.top + client.bottom) / 2 - 1;
            line.bottom = line.top + 2;
            InflateRect(&line, -1, 0);
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
    }
    EndPaint(handle, &ps);
    return 0;
}
