#include "toolkit/ButtonLayout.h"

#include <gtest/gtest.h>

namespace {
ButtonContent Content(TSize text, TSize image, ImagePlacement placement)
{
    ButtonContent c;
    c.text = text;
    c.image = image;
    c.placement = placement;
    return c;
}
}  // namespace

TEST(ButtonLayout, SizeToContent)
{
    struct Row {
        const char* what;
        ButtonContent content;
        TSize expected;
    } rows[] = {
        {"image left", Content({40, 13}, {16, 16}, ImagePlacement::Left), {71, 24}},
        {"image left, tall text", Content({40, 30}, {16, 16}, ImagePlacement::Left), {71, 30}},
        {"image above", Content({50, 13}, {32, 32}, ImagePlacement::Above), {50, 52}},
        {"image above, short text", Content({20, 13}, {32, 32}, ImagePlacement::Above), {34, 52}},
        {"picture only", Content({0, 0}, {24, 24}, ImagePlacement::Above), {26, 31}},
        {"text only", Content({40, 13}, {0, 0}, ImagePlacement::Left), {55, 21}},
        {"text of 1200 pixels", Content({1200, 13}, {16, 16}, ImagePlacement::Left), {500, 24}},
        {"height over 800", Content({40, 900}, {0, 0}, ImagePlacement::Left), {55, 300}},
    };
    for (const Row& r : rows) {
        TSize size = ButtonSizeToContent(r.content);
        EXPECT_EQ(size.cx, r.expected.cx) << r.what;
        EXPECT_EQ(size.cy, r.expected.cy) << r.what;
    }
}

TEST(ButtonLayout, ImageLeftPairIsCentredAndPressedShiftsByOne)
{
    const ButtonContent c = Content({40, 13}, {16, 16}, ImagePlacement::Left);
    ButtonLayout l = LayOutButton(c, TRect(0, 0, 71, 24), false);
    EXPECT_EQ(l.image, TRect(6, 4, 22, 20));
    EXPECT_EQ(l.text, TRect(25, 5, 65, 18));
    ButtonLayout pressed = LayOutButton(c, TRect(0, 0, 71, 24), true);
    EXPECT_EQ(pressed.image, TRect(7, 5, 23, 21));
    EXPECT_EQ(pressed.text, TRect(26, 6, 66, 19));
}

TEST(ButtonLayout, ImageAboveTextWithOnePixelBetween)
{
    // The control panel's 75 x 55 button with a 32 x 32 image.
    ButtonLayout l = LayOutButton(Content({50, 13}, {32, 32}, ImagePlacement::Above), TRect(0, 0, 75, 55), false);
    EXPECT_EQ(l.image, TRect(21, 4, 53, 36));
    EXPECT_EQ(l.text, TRect(12, 37, 62, 50));
}

TEST(ButtonLayout, SingleContentIsCentredInAnOffsetRectangle)
{
    ButtonLayout picture = LayOutButton(Content({0, 0}, {24, 24}, ImagePlacement::Above), TRect(10, 20, 40, 50), false);
    EXPECT_EQ(picture.image, TRect(13, 23, 37, 47));
    EXPECT_EQ(picture.text, TRect());
    ButtonLayout text = LayOutButton(Content({40, 13}, {0, 0}, ImagePlacement::Left), TRect(10, 20, 70, 41), false);
    EXPECT_EQ(text.text, TRect(20, 24, 60, 37));
    EXPECT_EQ(text.image, TRect());
}
