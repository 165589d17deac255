// Owner-drawn static bound to a dialog control: text (in a colour and font style of its own),
// images (normal, hot, disabled) or an icon, on a background colour. A link static is
// underlined, dark blue, shows the hand cursor and tells its parent of clicks (STN_CLICKED).
#pragma once

#include <vector>

#include "toolkit/win/ImageBitmap.h"
#include "toolkit/win/TWindow.h"

class StaticControl : public TWindow {
public:
    static constexpr COLORREF kLinkColour = RGB(0, 0, 205);

    StaticControl();

    // A picture static keeps its picture as image or icon; any other keeps its text.
    bool Bind(HWND dialog, int id);

    void SetLabel(const char* text);
    // Each image given is cut like a strip and appended: normal, hot, disabled in that order.
    void SetImages(const PixelImage* normal, const PixelImage* hot, const PixelImage* disabled);
    // Shown when there is no image; not owned.
    void SetIcon(HICON icon);
    // Bold, italic, underline, strike-out bits (TWindow::FontStyle) on the current font.
    void SetFontStyle(unsigned style);
    void SetTextColour(COLORREF colour);
    // A system cursor (IDC_...) shown while the pointer is over the control.
    void SetHoverCursor(LPCSTR id);
    void MakeLink();

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDrawItem(DRAWITEMSTRUCT* item) override;
    LRESULT OnMouseMove(int x, int y, UINT keys) override;
    LRESULT OnEnable(BOOL enabled) override;

private:
    std::vector<ImageBitmap> images;
    HICON icon = nullptr;
    COLORREF textColour;
    UINT textFormat = DT_LEFT | DT_WORDBREAK;
    bool hot = false;
};
