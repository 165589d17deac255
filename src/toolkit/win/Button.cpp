#include "toolkit/win/Button.h"

#include <vssym32.h>

#include <initializer_list>
#include <string>

#include "toolkit/win/PaintBuffer.h"
#include "toolkit/win/Theme.h"
#include "toolkit/win/ToolkitPalette.h"

namespace {

constexpr int kFocusInset = 3;

std::wstring WindowTextW(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void TrackMouseLeave(HWND hwnd)
{
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&track);
}

// The classic look of a checked toolbar button: face and highlight in an 8x8 checker.
void FillChecker(HDC dc, const RECT& rect)
{
    WORD bits[8];
    for (int i = 0; i < 8; ++i)
        bits[i] = static_cast<WORD>((i & 1) != 0 ? 0x55 : 0xAA);
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH brush = pattern != nullptr ? CreatePatternBrush(pattern) : nullptr;
    if (brush == nullptr) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        FillRect(dc, &rect, brush);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        DeleteObject(brush);
    }
    if (pattern != nullptr)
        DeleteObject(pattern);
}

}  // namespace

Button::Button() { kind = kButton; }

bool Button::Create(TWindow* parent, int id, const char* text, const char* tooltipText, unsigned style)
{
    if (parent == nullptr || parent->Handle() == nullptr)
        return false;
    HWND hwnd = CreateWindowExA(0, "BUTTON", text != nullptr ? text : "",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW | BS_NOTIFY, 0, 0, 16, 16,
                                parent->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr)
        return false;
    if (!BindControl(hwnd, SubclassRule::ZeroMeansHandled)) {
        DestroyWindow(hwnd);
        return false;
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    flat = true;
    placement = (style & kImageLeft) != 0 ? ImagePlacement::Left : ImagePlacement::Above;
    toggle = (style & kToggle) != 0;
    focusRect = (style & kFocusRect) != 0;
    if (tooltipText != nullptr)
        AddTooltip(tooltipText);
    return true;
}

bool Button::Bind(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr || !BindControl(control, SubclassRule::ZeroMeansHandled))
        return false;
    const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
    isDefault = type == BS_DEFPUSHBUTTON;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    flat = false;
    focusRect = true;
    placement = ImagePlacement::Left;
    Invalidate();
    return true;
}

void Button::SetImages(const PixelImage* normal, const PixelImage* hotImage, const PixelImage* disabled)
{
    for (const PixelImage* source : {normal, hotImage, disabled}) {
        if (source == nullptr)
            continue;
        for (const PixelImage& piece : CutStrip(*source))
            images.emplace_back(piece);
    }
    Invalidate();
}

bool Button::SetStripImages(int normalStrip, int hotStrip, int disabledStrip, int index)
{
    PixelImage looks[3];
    const int strips[3] = {normalStrip, hotStrip, disabledStrip};
    for (int i = 0; i < 3; ++i) {
        PixelImage strip;
        if (strips[i] != 0 && LoadBitmapResource(strips[i], strip))
            looks[i] = StripImage(strip, index);
    }
    if (looks[0].IsEmpty())
        return false;
    SetImages(&looks[0], looks[1].IsEmpty() ? nullptr : &looks[1], looks[2].IsEmpty() ? nullptr : &looks[2]);
    return true;
}

int Button::ShownImage() const
{
    if (handle != nullptr && !IsWindowEnabled(handle))
        return kDisabledImage;
    // A missing hot image falls back to the normal one; a missing disabled one is not drawn.
    if ((hot || (toggle && checked)) && images.size() > kHotImage)
        return kHotImage;
    return kNormalImage;
}

void Button::SetLabel(const char* text)
{
    if (handle != nullptr)
        SetWindowTextA(handle, text != nullptr ? text : "");
    Invalidate();
}

ButtonContent Button::Content(HDC dc, const wchar_t* text, int length) const
{
    ButtonContent content;
    content.placement = placement;
    if (length > 0) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, length, &extent);
        content.text = TSize(extent.cx, extent.cy);
    }
    if (!images.empty())
        content.image = TSize(images.front().Width(), images.front().Height());
    return content;
}

TSize Button::SizeToContent()
{
    if (handle == nullptr)
        return TSize();
    std::wstring text = WindowTextW(handle);
    HDC dc = GetDC(handle);
    HGDIOBJ oldFont = SelectObject(dc, GetFont());
    TSize size = ButtonSizeToContent(Content(dc, text.c_str(), static_cast<int>(text.size())));
    SelectObject(dc, oldFont);
    ReleaseDC(handle, dc);
    SetWindowPos(handle, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

void Button::SetFixedSize(int width, int height)
{
    if (handle != nullptr)
        SetWindowPos(handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Button::SetChecked(bool on)
{
    if (checked == on)
        return;
    checked = on;
    Invalidate(false);
}

bool Button::PointInside(int x, int y) const
{
    RECT client{};
    GetClientRect(handle, &client);
    POINT p{x, y};
    return PtInRect(&client, p) != FALSE;
}

LRESULT Button::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSELEAVE) {
        hot = false;
        Invalidate(false);
        return kNotHandled;
    }
    return TWindow::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT Button::OnMouseMove(int x, int y, UINT)
{
    if (!hot && PointInside(x, y)) {
        hot = true;
        TrackMouseLeave(handle);
        Invalidate(false);
    }
    return kNotHandled;
}

LRESULT Button::OnLButtonUp(int x, int y, UINT)
{
    // The native procedure that runs next turns a release over the pushed button into the
    // click.
    const bool pushed = (SendMessageA(handle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if (toggle && pushed && PointInside(x, y)) {
        checked = !checked;
        Invalidate(false);
    }
    return kNotHandled;
}

LRESULT Button::OnRButtonUp(int x, int y, UINT keys)
{
    if ((keys & (MK_LBUTTON | MK_MBUTTON)) == 0 && PointInside(x, y)) {
        HWND parent = GetParent(handle);
        POINT p{x, y};
        MapWindowPoints(handle, parent, &p, 1);
        PostMessageA(parent, WM_RBUTTONUP, reinterpret_cast<WPARAM>(handle), MAKELPARAM(p.x, p.y));
    }
    return kNotHandled;
}

LRESULT Button::OnEnable(BOOL)
{
    Invalidate(false);
    return kNotHandled;
}

LRESULT Button::OnDrawItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->hwndItem != handle)
        return kNotHandled;
    HDC dc = item->hDC;
    const RECT client = item->rcItem;
    PaintBuffer buffer;
    buffer.Begin(dc, client);

    const std::wstring text = WindowTextW(handle);
    const int length = static_cast<int>(text.size());
    HGDIOBJ oldFont = SelectObject(dc, GetFont());
    const UINT state = item->itemState;
    const bool shifted = (state & ODS_SELECTED) != 0 || (toggle && checked);
    const ButtonLayout layout =
        LayOutButton(Content(dc, text.c_str(), length),
                     TRect(client.left, client.top, client.right, client.bottom), shifted);

    ThemeHandle theme(handle, flat ? L"TOOLBAR" : L"BUTTON");
    if (theme)
        DrawThemed(theme.Get(), dc, client, state, layout, text.c_str(), length);
    else
        DrawClassic(dc, client, state, layout, text.c_str(), length);

    const size_t shown = static_cast<size_t>(ShownImage());
    if (shown < images.size())
        images[shown].Draw(dc, layout.image.left, layout.image.top);

    if (focusRect && (state & ODS_FOCUS) != 0 && (state & ODS_DISABLED) == 0) {
        RECT focus = client;
        InflateRect(&focus, -kFocusInset, -kFocusInset);
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
    buffer.End(dc);
    return TRUE;
}

void Button::DrawThemed(HTHEME theme, HDC dc, const RECT& client, UINT state, const ButtonLayout& layout,
                        const wchar_t* text, int length)
{
    const ThemeApi& api = ThemeApi::Get();
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool shownChecked = toggle && checked;
    int part;
    int look;
    if (flat) {
        part = TP_BUTTON;
        if (disabled)
            look = TS_DISABLED;
        else if (hot && shownChecked)
            look = TS_HOTCHECKED;
        else if (hot && pressed)
            look = TS_PRESSED;
        else if (hot)
            look = TS_HOT;
        else if (shownChecked || pressed)
            look = TS_CHECKED;
        else
            look = TS_NORMAL;
    } else {
        part = BP_PUSHBUTTON;
        if (disabled)
            look = PBS_DISABLED;
        else if (pressed)
            look = PBS_PRESSED;
        else if (hot)
            look = PBS_HOT;
        else if ((state & ODS_FOCUS) != 0 || isDefault)
            look = PBS_DEFAULTED;
        else
            look = PBS_NORMAL;
    }
    if (api.IsThemeBackgroundPartiallyTransparent(theme, part, look) || flat) {
        if (FAILED(api.DrawThemeParentBackground(handle, dc, &client)))
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    api.DrawThemeBackground(theme, dc, part, look, &client, nullptr);
    if (length == 0)
        return;
    RECT textRect = ToRect(layout.text);
    IntersectRect(&textRect, &textRect, &client);
    const DWORD format = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS;
    if (flat && disabled) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToolkitPalette::Get().Colours().greyText);
        DrawTextW(dc, text, length, &textRect, format);
    } else {
        api.DrawThemeText(theme, dc, part, look, text, length, format, 0, &textRect);
    }
}

void Button::DrawClassic(HDC dc, const RECT& client, UINT state, const ButtonLayout& layout, const wchar_t* text,
                         int length)
{
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool shownChecked = toggle && checked;
    if (shownChecked && !pressed && !hot)
        FillChecker(dc, client);
    else
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame = client;
    if (!flat)
        DrawEdge(dc, &frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else if (pressed || shownChecked)
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    else if (hot && !disabled)
        DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
    if (length == 0)
        return;
    RECT textRect = ToRect(layout.text);
    IntersectRect(&textRect, &textRect, &client);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, text, length, &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
}
