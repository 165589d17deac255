#include "toolkit/MenuMetrics.h"

#include <algorithm>

TSize MeasureMenuItem(const MenuItemExtent& item, const MenuFontMetrics& font)
{
    if (item.separator)
        return TSize(0, kMenuSeparatorHeight);
    const int32_t height = std::max(font.height + font.externalLeading + 4, item.image.cy + 2);
    const int32_t textWidth =
        item.labelWidth + (item.acceleratorWidth > 0 ? kMenuAcceleratorGap + item.acceleratorWidth : 0);
    if (item.topLevel)
        return TSize(textWidth, height);
    return TSize(textWidth + 2 * kMenuMargin + kMenuGap + 2 * height, height);
}

int32_t MenuTextItemHeight(const MenuFontMetrics& font)
{
    MenuItemExtent text;
    text.image = TSize(kMenuImageSide, kMenuImageSide);
    return MeasureMenuItem(text, font).cy;
}

int32_t MenuGutterWidth(int32_t itemHeight) { return kMenuMargin + kMenuGap + itemHeight; }

MenuItemParts LayOutMenuItem(const TRect& item, const MenuItemExtent& extent, int32_t gutterWidth)
{
    MenuItemParts parts;
    const int32_t height = item.Height();
    const int32_t gutterRight = item.left + gutterWidth;
    parts.gutter = TRect(item.left, item.top, gutterRight, item.bottom);
    const TSize image = extent.image.cx > 0 ? extent.image : TSize(height - 4, height - 4);
    const int32_t imageLeft = item.left + (gutterRight - item.left - image.cx) / 2;
    const int32_t imageTop = item.top + (height - image.cy) / 2;
    parts.image = TRect(imageLeft, imageTop, imageLeft + image.cx, imageTop + image.cy);
    parts.text = TRect(gutterRight + kMenuMargin, item.top, item.right - height, item.bottom);
    parts.accelerator = TRect(item.right - height - extent.acceleratorWidth, item.top, item.right - height, item.bottom);
    const int32_t middle = item.top + height / 2;
    parts.separator = TRect(gutterRight, middle, item.right, middle + 1);
    return parts;
}
