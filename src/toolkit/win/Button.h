// Owner-drawn push button: created flat for bars (toolbar, device list, path line) or bound to
// a dialog's push button. Up to three images (normal, hot, disabled), text, toggle mode, hot
// tracking; drawn with the visual style when one is active, in the classic look otherwise.
//
// Clicks reach the parent as the native button's WM_COMMAND (BN_CLICKED, id, handle). A right
// click posts WM_RBUTTONUP to the parent with wParam = the button's window handle and lParam =
// the point in the parent's client coordinates; the receiver looks the handle up with
// TWindow::FindChild, since the button may be gone by the time the message arrives.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <vector>

#include "toolkit/ButtonLayout.h"
#include "toolkit/win/ImageBitmap.h"
#include "toolkit/win/TWindow.h"

class Button : public TWindow {
public:
    // Creation style bits.
    enum Style : unsigned {
        kImageLeft = 0x4,   // image left of the text (without it the image sits above)
        kImageAbove = 0x8,
        kToggle = 0x10,     // a click flips the checked state
        kFocusRect = 0x20,  // draw the focus rectangle when focused
    };
    // Image slots.
    enum { kNormalImage = 0, kHotImage = 1, kDisabledImage = 2 };

    Button();

    // A flat button as a child of the parent, with the tooltip (none when null).
    bool Create(TWindow* parent, int id, const char* text, const char* tooltipText, unsigned style);
    // Takes over a dialog's push button, keeping its text; a default push button is drawn in
    // the default state.
    bool Bind(HWND dialog, int id);

    // Each image given is cut like a strip and appended: normal, hot, disabled in that order.
    void SetImages(const PixelImage* normal, const PixelImage* hot, const PixelImage* disabled);
    // Image index of three strip resources (normal, hot, disabled looks); 0 skips a strip.
    bool SetStripImages(int normalStrip, int hotStrip, int disabledStrip, int index);
    size_t ImageCount() const { return images.size(); }
    // The image slot the current state draws (kNormalImage, kHotImage or kDisabledImage).
    int ShownImage() const;

    void SetLabel(const char* text);
    // Sizes the button to its text and first image; returns the new size.
    TSize SizeToContent();
    void SetFixedSize(int width, int height);
    void SetChecked(bool on);
    bool IsChecked() const { return checked; }
    bool IsHot() const { return hot; }
    bool IsFlat() const { return flat; }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDrawItem(DRAWITEMSTRUCT* item) override;
    LRESULT OnMouseMove(int x, int y, UINT keys) override;
    LRESULT OnLButtonUp(int x, int y, UINT keys) override;
    LRESULT OnRButtonUp(int x, int y, UINT keys) override;
    LRESULT OnEnable(BOOL enabled) override;

private:
    ButtonContent Content(HDC dc, const wchar_t* text, int length) const;
    void DrawThemed(HTHEME theme, HDC dc, const RECT& client, UINT state, const ButtonLayout& layout,
                    const wchar_t* text, int length);
    void DrawClassic(HDC dc, const RECT& client, UINT state, const ButtonLayout& layout, const wchar_t* text,
                     int length);
    bool PointInside(int x, int y) const;

    std::vector<ImageBitmap> images;
    ImagePlacement placement = ImagePlacement::Left;
    bool flat = false;
    bool toggle = false;
    bool checked = false;
    bool hot = false;
    bool focusRect = false;
    bool isDefault = false;
};
