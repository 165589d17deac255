#include "toolkit/win/StaticControl.h"

#include <initializer_list>

#include "toolkit/win/PaintBuffer.h"

namespace {

UINT FormatOfStyle(DWORD style)
{
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format = DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE: format = DT_LEFT | DT_SINGLELINE; break;
    default: format = DT_LEFT | DT_WORDBREAK; break;
    }
    if ((style & SS_CENTERIMAGE) != 0)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if ((style & SS_NOPREFIX) != 0)
        format |= DT_NOPREFIX;
    if ((style & SS_ELLIPSISMASK) == SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS;
    return format;
}

TSize IconSize(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return TSize();
    BITMAP bm{};
    TSize size;
    if (info.hbmColor != nullptr && GetObjectA(info.hbmColor, sizeof bm, &bm) != 0)
        size = TSize(bm.bmWidth, bm.bmHeight);
    else if (info.hbmMask != nullptr && GetObjectA(info.hbmMask, sizeof bm, &bm) != 0)
        size = TSize(bm.bmWidth, bm.bmHeight / 2);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return size;
}

}  // namespace

StaticControl::StaticControl() : textColour(GetSysColor(COLOR_BTNTEXT)) { kind = kStatic; }

bool StaticControl::Bind(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr || !BindControl(control, SubclassRule::ZeroMeansHandled))
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_BITMAP) {
        PixelImage picture;
        auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (PixelsFromBitmap(bitmap, picture)) {
            PrepareForDrawing(picture);
            SetImages(&picture, nullptr, nullptr);
        }
    } else if (type == SS_ICON) {
        icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    } else {
        textFormat = FormatOfStyle(style);
    }
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
    Invalidate();
    return true;
}

void StaticControl::SetLabel(const char* text)
{
    if (handle == nullptr)
        return;
    SetWindowTextA(handle, text != nullptr ? text : "");
    Invalidate();
}

void StaticControl::SetImages(const PixelImage* normal, const PixelImage* hotImage, const PixelImage* disabled)
{
    for (const PixelImage* source : {normal, hotImage, disabled}) {
        if (source == nullptr)
            continue;
        for (const PixelImage& piece : CutStrip(*source))
            images.emplace_back(piece);
    }
    Invalidate();
}

void StaticControl::SetIcon(HICON shown)
{
    icon = shown;
    Invalidate();
}

void StaticControl::SetFontStyle(unsigned style)
{
    LOGFONTA lf{};
    if (GetObjectA(GetFont(), sizeof lf, &lf) == 0)
        return;
    lf.lfWeight = (style & kBold) != 0 ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & kItalic) != 0;
    lf.lfUnderline = (style & kUnderline) != 0;
    lf.lfStrikeOut = (style & kStrikeOut) != 0;
    if (HFONT created = CreateFontIndirectA(&lf))
        ReplaceFont(created);
}

void StaticControl::SetTextColour(COLORREF colour)
{
    textColour = colour;
    Invalidate();
}

void StaticControl::SetHoverCursor(LPCSTR id) { cursor = LoadCursorA(nullptr, id); }

void StaticControl::MakeLink()
{
    // Without SS_NOTIFY a static is transparent to the mouse: no cursor, no click.
    ModifyStyle(0, SS_NOTIFY);
    SetFontStyle(kUnderline);
    SetTextColour(kLinkColour);
    SetHoverCursor(reinterpret_cast<LPCSTR>(IDC_HAND));
}

LRESULT StaticControl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSELEAVE) {
        hot = false;
        if (images.size() > 1)
            Invalidate(false);
        return kNotHandled;
    }
    return TWindow::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT StaticControl::OnMouseMove(int, int, UINT)
{
    // The system sets the class cursor before each move reaches the control; this comes after.
    if (cursor != nullptr)
        SetCursor(cursor);
    if (!hot) {
        hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle, 0};
        TrackMouseEvent(&track);
        if (images.size() > 1)
            Invalidate(false);
    }
    return kNotHandled;
}

LRESULT StaticControl::OnEnable(BOOL)
{
    Invalidate(false);
    return kNotHandled;
}

LRESULT StaticControl::OnDrawItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->hwndItem != handle)
        return kNotHandled;
    HDC dc = item->hDC;
    const RECT client = item->rcItem;
    PaintBuffer buffer;
    buffer.Begin(dc, client);
    FillRect(dc, &client, backgroundBrush != nullptr ? backgroundBrush : GetSysColorBrush(COLOR_BTNFACE));
    const bool disabled = (item->itemState & ODS_DISABLED) != 0 || !IsWindowEnabled(handle);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!images.empty()) {
        // A missing hot image falls back to the normal one; a missing disabled one is not drawn.
        size_t shown = disabled ? 2 : (hot && images.size() > 1 ? 1 : 0);
        if (shown < images.size()) {
            const ImageBitmap& image = images[shown];
            image.Draw(dc, client.left + (width - image.Width()) / 2, client.top + (height - image.Height()) / 2);
        }
    } else if (icon != nullptr) {
        TSize size = IconSize(icon);
        DrawIconEx(dc, client.left + (width - size.cx) / 2, client.top + (height - size.cy) / 2, icon, size.cx,
                   size.cy, 0, nullptr, DI_NORMAL);
    } else {
        GString text = GetText();
        HGDIOBJ oldFont = SelectObject(dc, GetFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : textColour);
        RECT textRect = client;
        DrawTextA(dc, text.CStr(), static_cast<int>(text.Length()), &textRect, textFormat);
        SelectObject(dc, oldFont);
    }
    buffer.End(dc);
    return TRUE;
}
