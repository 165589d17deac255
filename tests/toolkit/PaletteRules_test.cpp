#include "toolkit/PaletteRules.h"

#include <gtest/gtest.h>

namespace {

// A light desktop scheme, close to the usual defaults.
SystemColours LightScheme()
{
    SystemColours s;
    s.window = MakeColour(255, 255, 255);
    s.windowText = MakeColour(0, 0, 0);
    s.windowFrame = MakeColour(100, 100, 100);
    s.menu = MakeColour(240, 240, 240);
    s.menuText = MakeColour(1, 2, 3);
    s.menuBar = MakeColour(230, 231, 232);
    s.highlight = MakeColour(0, 120, 215);
    s.buttonFace = MakeColour(240, 240, 240);
    s.buttonText = MakeColour(4, 5, 6);
    s.greyText = MakeColour(109, 109, 109);
    return s;
}

}  // namespace

TEST(PaletteRules, BlendMovesEachChannelByIntegerPercent)
{
    struct Row {
        Colour a, b;
        int percent;
        Colour expected;
    } rows[] = {
        {MakeColour(0, 120, 215), MakeColour(255, 255, 255), 70, MakeColour(178, 214, 243)},
        {MakeColour(0, 120, 215), MakeColour(255, 255, 255), 0, MakeColour(0, 120, 215)},
        {MakeColour(0, 120, 215), MakeColour(255, 255, 255), 100, MakeColour(255, 255, 255)},
        // Towards a darker colour the division truncates towards zero: -17.5 becomes -17.
        {MakeColour(200, 100, 50), MakeColour(0, 0, 0), 35, MakeColour(130, 65, 33)},
        {MakeColour(0, 0, 0), MakeColour(240, 240, 240), 90, MakeColour(216, 216, 216)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Blend(r.a, r.b, r.percent), r.expected) << std::hex << r.a << " -> " << r.b << " " << std::dec << r.percent;
}

TEST(PaletteRules, TrueColourScreenBlendsShades)
{
    SystemColours s = LightScheme();
    PaletteColours p = ComputePalette(s, 32);
    EXPECT_EQ(p.menuBackground, MakeColour(240, 240, 240));
    // 255 - 7.5 truncates to 248.
    EXPECT_EQ(p.lightMenu, MakeColour(248, 248, 248));
    EXPECT_EQ(p.highlight, MakeColour(0, 120, 215));
    EXPECT_EQ(p.selection, MakeColour(178, 214, 243));
    EXPECT_EQ(p.lightSelection, MakeColour(127, 187, 235));
    EXPECT_EQ(p.selectionText, MakeColour(143, 172, 195));
    EXPECT_EQ(p.darkFace, MakeColour(156, 156, 156));
    EXPECT_EQ(p.gutter, MakeColour(216, 216, 216));
    EXPECT_EQ(p.frame, s.windowFrame);
    EXPECT_EQ(p.greyText, s.greyText);
    EXPECT_EQ(p.text, s.windowText);
    EXPECT_EQ(p.menuText, s.menuText);
    EXPECT_EQ(p.buttonText, s.buttonText);
    // Without flat menus or visual styles the bar has the menu colour.
    EXPECT_EQ(p.menuBar, s.menu);
    s.menuBarColoured = true;
    EXPECT_EQ(ComputePalette(s, 32).menuBar, s.menuBar);
}

TEST(PaletteRules, PalettedScreenUsesPlainSystemColours)
{
    const SystemColours s = LightScheme();
    for (int bits : {8, 4}) {
        PaletteColours p = ComputePalette(s, bits);
        EXPECT_EQ(p.menuBackground, s.window) << bits;
        EXPECT_EQ(p.lightMenu, s.window) << bits;
        EXPECT_EQ(p.selection, s.window) << bits;
        EXPECT_EQ(p.lightSelection, s.window) << bits;
        EXPECT_EQ(p.selectionText, s.highlight) << bits;
        EXPECT_EQ(p.darkFace, s.greyText) << bits;
        // The gutter is blended on every screen.
        EXPECT_EQ(p.gutter, MakeColour(216, 216, 216)) << bits;
    }
    // 16 bits already count as a blending screen.
    EXPECT_EQ(ComputePalette(s, 16).selection, MakeColour(178, 214, 243));
}
