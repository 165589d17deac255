// Images as plain 32-bit pixel buffers, and the routines that cut resource strips and derive
// the grey, lightened, disabled and mask looks from them. Windows-only code turns the buffers
// into bitmaps; everything here is arithmetic on pixels.
//
// A pixel is 0xAARRGGBB (in memory B, G, R, A: a 32-bit top-down DIB row), colour channels
// premultiplied by alpha once Premultiply has run. Fully transparent pixels are the image's
// background and every derived look keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/PaletteRules.h"

using Pixel = uint32_t;

constexpr Pixel MakePixel(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }
constexpr uint32_t AlphaOf(Pixel p) { return p >> 24; }
constexpr uint32_t PixelRed(Pixel p) { return p >> 16 & 0xFF; }
constexpr uint32_t PixelGreen(Pixel p) { return p >> 8 & 0xFF; }
constexpr uint32_t PixelBlue(Pixel p) { return p & 0xFF; }
constexpr Pixel OpaquePixel(Colour c) { return MakePixel(255, RedOf(c), GreenOf(c), BlueOf(c)); }

struct PixelImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Pixel> pixels;  // top row first

    PixelImage() = default;
    PixelImage(int32_t w, int32_t h, Pixel fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    Pixel& At(int32_t x, int32_t y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel At(int32_t x, int32_t y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Cuts a strip of n square images of the strip's height (n = width / height, in order). A
// square bitmap gives one image, one narrower than tall gives itself.
std::vector<PixelImage> CutStrip(const PixelImage& strip);
// One image of a strip (index from 0); empty when the strip has no such image.
PixelImage StripImage(const PixelImage& strip, int index);

// True when any pixel carries alpha: a 32-bit bitmap drawn with its own transparency.
bool HasAlpha(const PixelImage& image);
// For bitmaps without alpha: the colour of the top-left pixel is the transparent background,
// every other pixel is opaque.
void KeyToAlpha(PixelImage& image);
// Multiplies each colour channel by alpha / 255, as per-pixel alpha blending expects.
void Premultiply(PixelImage& image);

// Grey by luminance 0.299 R + 0.587 G + 0.114 B.
PixelImage GreyCopy(const PixelImage& image);
// Each pixel 65 % of the way to white.
PixelImage LightenedCopy(const PixelImage& image);
// Disabled look: pixels whose channel average is 128 or more take the face colour, darker ones
// the grey-text colour.
PixelImage DisabledCopy(const PixelImage& image, Colour face, Colour greyText);
// Opaque mask: the background white, every drawn pixel black.
PixelImage MonochromeMask(const PixelImage& image);
// One-pixel frame on the rectangle's edge: top and left in one colour, bottom and right in the
// other (raised when the first is the lighter one).
void DrawFrame3D(PixelImage& image, const TRect& rect, Colour topLeft, Colour bottomRight);
