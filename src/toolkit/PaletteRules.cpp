#include "toolkit/PaletteRules.h"

namespace {
uint32_t BlendChannel(uint32_t a, uint32_t b, int percent)
{
    return static_cast<uint32_t>(static_cast<int>(a) + (static_cast<int>(b) - static_cast<int>(a)) * percent / 100);
}
}  // namespace

Colour Blend(Colour a, Colour b, int percent)
{
    return MakeColour(BlendChannel(RedOf(a), RedOf(b), percent), BlendChannel(GreenOf(a), GreenOf(b), percent),
                      BlendChannel(BlueOf(a), BlueOf(b), percent));
}

PaletteColours ComputePalette(const SystemColours& s, int bitsPerPixel)
{
    PaletteColours p;
    p.highlight = s.highlight;
    if (bitsPerPixel > 8) {
        p.menuBackground = s.menu;
        p.lightMenu = Blend(s.window, s.menu, 50);
        p.selection = Blend(s.highlight, s.window, 70);
        p.lightSelection = Blend(s.highlight, s.window, 50);
        p.selectionText = Blend(p.selection, s.windowText, 20);
        p.darkFace = Blend(s.buttonFace, s.windowText, 35);
    } else {
        p.menuBackground = p.lightMenu = p.selection = p.lightSelection = s.window;
        p.selectionText = s.highlight;
        p.darkFace = s.greyText;
    }
    p.frame = s.windowFrame;
    p.greyText = s.greyText;
    p.text = s.windowText;
    p.menuText = s.menuText;
    p.buttonText = s.buttonText;
    p.gutter = Blend(MakeColour(0, 0, 0), s.menu, 90);
    p.window = s.window;
    p.menuBar = s.menuBarColoured ? s.menuBar : s.menu;
    return p;
}
