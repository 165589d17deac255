// Sizes and parts of an owner-drawn menu item, from the extent of its texts in the menu font.
#pragma once

#include <cstdint>

#include "toolkit/Geometry.h"

struct MenuItemExtent {
    bool separator = false;
    bool topLevel = false;      // an item of the menu bar
    int32_t labelWidth = 0;     // the text before the tab
    int32_t acceleratorWidth = 0;  // the text after the tab (0: none)
    TSize image;                // 0 x 0 without image
};

struct MenuFontMetrics {
    int32_t height = 0;
    int32_t externalLeading = 0;
};

constexpr int32_t kMenuMargin = 6;
constexpr int32_t kMenuGap = 3;
constexpr int32_t kMenuSeparatorHeight = 5;
constexpr int32_t kMenuAcceleratorGap = 2 * kMenuMargin;  // between the text and its accelerator
constexpr int32_t kMenuImageSide = 16;

// Separators are 5 pixels high; other items fit the text with 2 pixels above and below, and
// the image with 1. Bar items are as wide as their text; popup items add the gutter, the
// margins and room for the accelerator or submenu arrow.
TSize MeasureMenuItem(const MenuItemExtent& item, const MenuFontMetrics& font);

// The height of a popup's text items with their 16-pixel pictures: the gutter of every item,
// separators included, is as wide as theirs.
int32_t MenuTextItemHeight(const MenuFontMetrics& font);
// The gutter of a popup: a square of the text items' height plus margin and gap.
int32_t MenuGutterWidth(int32_t itemHeight);

struct MenuItemParts {
    TRect gutter;
    TRect image;        // centred in the gutter (the check mark's place as well)
    TRect text;         // from the gutter's edge plus the margin
    TRect accelerator;  // right-aligned, clear of the submenu arrow
    TRect separator;    // one pixel high, from the gutter's edge
};

MenuItemParts LayOutMenuItem(const TRect& item, const MenuItemExtent& extent, int32_t gutterWidth);
