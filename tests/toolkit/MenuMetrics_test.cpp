#include "toolkit/MenuMetrics.h"

#include <gtest/gtest.h>

namespace {
MenuItemExtent Item(int32_t label, int32_t accelerator, TSize image = TSize(), bool topLevel = false)
{
    MenuItemExtent e;
    e.labelWidth = label;
    e.acceleratorWidth = accelerator;
    e.image = image;
    e.topLevel = topLevel;
    return e;
}
}  // namespace

TEST(MenuMetrics, ItemSizes)
{
    const MenuFontMetrics font{13, 1};
    MenuItemExtent separator;
    separator.separator = true;
    struct Row {
        const char* what;
        MenuItemExtent item;
        TSize expected;
    } rows[] = {
        {"separator", separator, {0, 5}},
        // 13 + 1 + 4 = 18 high; 60 + 12 + 3 + 36 wide.
        {"popup text", Item(60, 0), {111, 18}},
        // The accelerator keeps 12 pixels from the text.
        {"popup text and accelerator", Item(60, 20), {143, 18}},
        {"popup with a 16 pixel image", Item(60, 0, {16, 16}), {111, 18}},
        // A tall image sets the height, 24 + 2, and the width follows it: 60 + 12 + 3 + 52.
        {"popup with a 24 pixel image", Item(60, 0, {24, 24}), {127, 26}},
        {"bar item", Item(40, 0, {}, true), {40, 18}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MeasureMenuItem(r.item, font), r.expected) << r.what;
}

TEST(MenuMetrics, PartsOfAPopupItem)
{
    // An item 131 x 18 at (0, 36) with a 16 x 16 image and an accelerator of 20 pixels.
    const MenuFontMetrics font{13, 1};
    EXPECT_EQ(MenuTextItemHeight(font), 18);
    EXPECT_EQ(MenuTextItemHeight(MenuFontMetrics{11, 0}), 18) << "never lower than a picture";
    EXPECT_EQ(MenuGutterWidth(18), 27);
    const MenuItemExtent extent = Item(60, 20, {16, 16});
    MenuItemParts parts = LayOutMenuItem(TRect(0, 36, 131, 54), extent, 27);
    EXPECT_EQ(parts.gutter, TRect(0, 36, 27, 54));
    EXPECT_EQ(parts.image, TRect(5, 37, 21, 53));
    EXPECT_EQ(parts.text, TRect(33, 36, 113, 54));
    EXPECT_EQ(parts.accelerator, TRect(93, 36, 113, 54));
    // Without an image the check mark takes a square a little smaller than the item.
    EXPECT_EQ(LayOutMenuItem(TRect(0, 0, 131, 18), Item(60, 0), 27).image, TRect(6, 2, 20, 16));
    // A separator, 5 high, keeps the popup's gutter: its line starts at the same edge.
    MenuItemExtent separator;
    separator.separator = true;
    MenuItemParts line = LayOutMenuItem(TRect(0, 54, 131, 59), separator, 27);
    EXPECT_EQ(line.gutter, TRect(0, 54, 27, 59));
    EXPECT_EQ(line.separator, TRect(27, 56, 131, 57));
}
