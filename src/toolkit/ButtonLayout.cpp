#include "toolkit/ButtonLayout.h"

#include <algorithm>
#include <initializer_list>

namespace {
constexpr int kImageLeftPadX = 15;
constexpr int kImageLeftPadY = 8;
constexpr int kImageAboveGapY = 7;
constexpr int kImageAbovePadX = 2;
constexpr int kImageTextGap = 3;    // between an image on the left and the text
constexpr int kImageAboveGap = 1;   // between an image above and the text

TRect Placed(int32_t x, int32_t y, const TSize& size) { return TRect(x, y, x + size.cx, y + size.cy); }
}  // namespace

TSize ButtonSizeToContent(const ButtonContent& c)
{
    TSize size = c.text;
    if (!c.HasImage()) {
        size.cx += kImageLeftPadX;
        size.cy += kImageLeftPadY;
    } else if (c.placement == ImagePlacement::Left) {
        size.cx += c.image.cx + kImageLeftPadX;
        size.cy = std::max(size.cy, c.image.cy + kImageLeftPadY);
    } else {
        size.cy += c.image.cy + kImageAboveGapY;
        size.cx = std::max(size.cx, c.image.cx + kImageAbovePadX);
    }
    if (size.cx > 1000)
        size.cx = 500;
    if (size.cy > 800)
        size.cy = 300;
    return size;
}

ButtonLayout LayOutButton(const ButtonContent& c, const TRect& client, bool pressed)
{
    ButtonLayout out;
    const int32_t w = client.Width();
    const int32_t h = client.Height();
    const TSize image = c.HasImage() ? c.image : TSize();
    const TSize text = c.HasText() ? c.text : TSize();
    if (!c.HasImage()) {
        out.text = Placed((w - text.cx) / 2, (h - text.cy) / 2, text);
    } else if (!c.HasText()) {
        out.image = Placed((w - image.cx) / 2, (h - image.cy) / 2, image);
    } else if (c.placement == ImagePlacement::Left) {
        int32_t x = (w - (image.cx + kImageTextGap + text.cx)) / 2;
        out.image = Placed(x, (h - image.cy) / 2, image);
        out.text = Placed(x + image.cx + kImageTextGap, (h - text.cy) / 2, text);
    } else {
        int32_t y = (h - (image.cy + kImageAboveGap + text.cy)) / 2;
        out.image = Placed((w - image.cx) / 2, y, image);
        out.text = Placed((w - text.cx) / 2, y + image.cy + kImageAboveGap, text);
    }
    const int32_t dx = client.left + (pressed ? 1 : 0);
    const int32_t dy = client.top + (pressed ? 1 : 0);
    for (TRect* r : {&out.image, &out.text}) {
        if (r->Width() > 0 || r->Height() > 0)
            *r = TRect(r->left + dx, r->top + dy, r->right + dx, r->bottom + dy);
    }
    return out;
}
