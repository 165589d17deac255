#include "filemanager/win/PathLineBrowserWindow.h"

#include <vssym32.h>

#include "devices/TComm.h"
#include "resources/resource.h"
#include "toolkit/win/Theme.h"
#include "toolkit/win/ToolkitPalette.h"

namespace {

// Images of the path line strip 57: the two buttons, then the port kinds.
constexpr int kUpImage = 0;
constexpr int kFavouritesImage = 1;

int PortImage(int portKind)
{
    switch (portKind) {
    case TComm::kBluetooth: return 2;
    case TComm::kIrDA: return 3;
    default: return 4;
    }
}

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

PathLineBrowserWindow::PathLineBrowserWindow()
{
    RegisterWindowClass(0, nullptr, nullptr, kClassName, 0);
}

PathLineBrowserWindow::~PathLineBrowserWindow() { DestroyNativeWindow(); }

bool PathLineBrowserWindow::Create(TWindow* ownerWindow, int portKind)
{
    if (ownerWindow == nullptr || ownerWindow->Handle() == nullptr || handle != nullptr)
        return false;
    owner = ownerWindow;
    CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 24, owner->Handle(),
                    nullptr, GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    upButton.Create(this, IDM_GO_UP, "Вверх", "Вверх", Button::kImageLeft);
    upButton.SetStripImages(IDB_PATHLINE_NORMAL, IDB_PATHLINE_HOT, IDB_PATHLINE_DISABLED, kUpImage);
    favouritesButton.Create(this, IDM_FAVOURITES, "Путь:", "Избранное", Button::kImageLeft);
    favouritesButton.SetStripImages(IDB_PATHLINE_NORMAL, IDB_PATHLINE_HOT, IDB_PATHLINE_DISABLED, kFavouritesImage);
    PixelImage strip;
    if (LoadBitmapResource(IDB_PATHLINE_NORMAL, strip))
        portIcon = ImageBitmap(StripImage(strip, PortImage(portKind)));
    EnableUp(false);
    return true;
}

int PathLineBrowserWindow::Layout()
{
    HDC dc = GetDC(handle);
    HGDIOBJ oldFont = SelectObject(dc, GetFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(handle, dc);
    textHeight = metrics.tmHeight;
    upNaturalWidth = upButton.SizeToContent().cx;
    favouritesNaturalWidth = favouritesButton.SizeToContent().cx;
    RECT client{};
    GetClientRect(handle, &client);
    layout = LayOutPathLine(textHeight, upNaturalWidth, favouritesNaturalWidth, client.right,
                            TSize(portIcon.Width(), portIcon.Height()));
    for (auto [button, place] : {std::pair{&upButton, layout.up}, std::pair{&favouritesButton, layout.favourites}})
        SetWindowPos(button->Handle(), nullptr, place.left, place.top, place.Width(), place.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return layout.height;
}

void PathLineBrowserWindow::SetPath(const GString& text)
{
    pathText = text;
    // Also the window's text, for whoever reads the window from outside.
    SetWindowTextA(handle, pathText.CStr());
    AddTooltip(pathText.CStr());
    Invalidate();
}

void PathLineBrowserWindow::EnableUp(bool enabled)
{
    if (upButton.Handle() != nullptr)
        EnableWindow(upButton.Handle(), enabled ? TRUE : FALSE);
}

LRESULT PathLineBrowserWindow::OnCommand(int notifyCode, int id, HWND control)
{
    if (owner == nullptr || owner->Handle() == nullptr)
        return kNotHandled;
    SendMessageA(owner->Handle(), WM_COMMAND, MAKEWPARAM(id, notifyCode), reinterpret_cast<LPARAM>(control));
    return 0;
}

void PathLineBrowserWindow::PaintField(HDC dc)
{
    RECT field = ToRect(layout.field);
    ThemeHandle theme(handle, L"EDIT");
    if (theme) {
        ThemeApi::Get().DrawThemeBackground(theme.Get(), dc, EP_EDITTEXT, ETS_NORMAL, &field, nullptr);
    } else {
        FillRect(dc, &field, GetSysColorBrush(COLOR_WINDOW));
        HBRUSH frame = CreateSolidBrush(ToolkitPalette::Get().Colours().frame);
        FrameRect(dc, &field, frame);
        DeleteObject(frame);
    }
    if (portIcon.IsValid())
        portIcon.Draw(dc, layout.icon.x, layout.icon.y);
    RECT text{layout.textLeft, field.top, field.right - 2, field.bottom};
    HGDIOBJ oldFont = SelectObject(dc, GetFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToolkitPalette::Get().Colours().text);
    DrawTextA(dc, pathText.CStr(), static_cast<int>(pathText.Length()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, oldFont);
}

LRESULT PathLineBrowserWindow::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle, &paint);
    PaintField(dc);
    EndPaint(handle, &paint);
    return 0;
}

LRESULT PathLineBrowserWindow::OnEraseBackground(HDC dc)
{
    RECT client{};
    GetClientRect(handle, &client);
    RECT area = client;
    area.bottom += 1;
    // The face colour first: a theme without a bar background leaves the area as it finds
    // it, and the buttons paint over this through a fresh buffer.
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    ThemeHandle theme(handle, L"REBAR");
    if (theme) {
        ThemeApi::Get().DrawThemeBackground(theme.Get(), dc, 0, 0, &area, nullptr);
        // With BF_ADJUST the theme writes the rectangle inside the edge: it needs a place for it.
        RECT inside{};
        ThemeApi::Get().DrawThemeEdge(theme.Get(), dc, 3, 0, &area, EDGE_ETCHED, BF_TOP | BF_FLAT | BF_ADJUST,
                                      &inside);
    } else {
        DrawEdge(dc, &area, EDGE_ETCHED, BF_TOP);
    }
    return 1;
}

LRESULT PathLineBrowserWindow::OnSize(int width, int height, UINT)
{
    const TRect now(0, 0, width, height);
    layout = LayOutPathLine(textHeight, upNaturalWidth, favouritesNaturalWidth, width,
                            TSize(portIcon.Width(), portIcon.Height()));
    const RepaintStrips strips = StripsToRepaint(lastClient, now);
    for (int i = 0; i < strips.count; ++i) {
        RECT r = ToRect(strips.strips[i]);
        RedrawWindow(handle, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    lastClient = now;
    return 0;
}

LRESULT PathLineBrowserWindow::OnClose()
{
    for (Button* button : {&upButton, &favouritesButton}) {
        if (button->Handle() != nullptr)
            DestroyWindow(button->Handle());
    }
    return kNotHandled;
}
