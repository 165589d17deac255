// The colours every owner-drawn control and menu paints with, derived from the system colours
// and the screen's bit depth. Colours are 0x00BBGGRR, the layout of a Windows COLORREF.
#pragma once

#include <cstdint>

using Colour = uint32_t;

constexpr Colour MakeColour(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }
constexpr uint32_t RedOf(Colour c) { return c & 0xFF; }
constexpr uint32_t GreenOf(Colour c) { return c >> 8 & 0xFF; }
constexpr uint32_t BlueOf(Colour c) { return c >> 16 & 0xFF; }

// Moves a percent of the way towards b, per channel: a + (b - a) * percent / 100.
Colour Blend(Colour a, Colour b, int percent);

struct SystemColours {
    Colour window = 0;
    Colour windowText = 0;
    Colour windowFrame = 0;
    Colour menu = 0;
    Colour menuText = 0;
    Colour menuBar = 0;
    Colour highlight = 0;
    Colour buttonFace = 0;
    Colour buttonText = 0;
    Colour greyText = 0;
    // Flat menus switched on, or visual styles active: the menu bar has its own colour.
    bool menuBarColoured = false;
};

struct PaletteColours {
    Colour menuBackground = 0;
    Colour lightMenu = 0;
    Colour highlight = 0;
    Colour selection = 0;
    Colour lightSelection = 0;
    Colour selectionText = 0;
    Colour darkFace = 0;
    Colour frame = 0;
    Colour greyText = 0;
    Colour text = 0;
    Colour menuText = 0;
    Colour buttonText = 0;
    Colour gutter = 0;
    Colour window = 0;
    Colour menuBar = 0;
};

// On 8 bits per pixel or fewer the blended shades would dither, so plain system colours stand
// in for them.
PaletteColours ComputePalette(const SystemColours& system, int bitsPerPixel);
