#include "toolkit/PixelImage.h"

#include <algorithm>

namespace {

constexpr int kLightenPercent = 65;

uint32_t Lighten(uint32_t channel, uint32_t alpha)
{
    // White premultiplied by the pixel's alpha is alpha itself.
    return channel + (alpha - channel) * kLightenPercent / 100;
}

Pixel Straight(Pixel p, uint32_t (*channel)(Pixel))
{
    uint32_t a = AlphaOf(p);
    return a == 0 ? 0 : std::min<uint32_t>(255, channel(p) * 255 / a);
}

Pixel PremultipliedColour(uint32_t alpha, Colour c)
{
    return MakePixel(alpha, RedOf(c) * alpha / 255, GreenOf(c) * alpha / 255, BlueOf(c) * alpha / 255);
}

}  // namespace

std::vector<PixelImage> CutStrip(const PixelImage& strip)
{
    std::vector<PixelImage> images;
    if (strip.IsEmpty() || strip.pixels.size() < static_cast<size_t>(strip.width) * strip.height)
        return images;
    const int32_t side = strip.height;
    const int32_t count = strip.width >= side ? strip.width / side : 1;
    const int32_t width = strip.width >= side ? side : strip.width;
    for (int32_t i = 0; i < count; ++i) {
        PixelImage image(width, side);
        for (int32_t y = 0; y < side; ++y)
            for (int32_t x = 0; x < width; ++x)
                image.At(x, y) = strip.At(i * width + x, y);
        images.push_back(std::move(image));
    }
    return images;
}

PixelImage StripImage(const PixelImage& strip, int index)
{
    std::vector<PixelImage> images = CutStrip(strip);
    if (index < 0 || static_cast<size_t>(index) >= images.size())
        return PixelImage();
    return std::move(images[static_cast<size_t>(index)]);
}

bool HasAlpha(const PixelImage& image)
{
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](Pixel p) { return AlphaOf(p) != 0; });
}

void KeyToAlpha(PixelImage& image)
{
    if (image.pixels.empty())
        return;
    const Pixel key = image.pixels[0] & 0xFFFFFF;
    for (Pixel& p : image.pixels)
        p = (p & 0xFFFFFF) == key ? 0 : (p | 0xFF000000u);
}

void Premultiply(PixelImage& image)
{
    for (Pixel& p : image.pixels) {
        uint32_t a = AlphaOf(p);
        p = MakePixel(a, PixelRed(p) * a / 255, PixelGreen(p) * a / 255, PixelBlue(p) * a / 255);
    }
}

PixelImage GreyCopy(const PixelImage& image)
{
    PixelImage out = image;
    for (Pixel& p : out.pixels) {
        uint32_t a = AlphaOf(p);
        if (a == 0)
            continue;
        uint32_t y = std::min((299 * PixelRed(p) + 587 * PixelGreen(p) + 114 * PixelBlue(p)) / 1000, a);
        p = MakePixel(a, y, y, y);
    }
    return out;
}

PixelImage LightenedCopy(const PixelImage& image)
{
    PixelImage out = image;
    for (Pixel& p : out.pixels) {
        uint32_t a = AlphaOf(p);
        if (a != 0)
            p = MakePixel(a, Lighten(PixelRed(p), a), Lighten(PixelGreen(p), a), Lighten(PixelBlue(p), a));
    }
    return out;
}

PixelImage DisabledCopy(const PixelImage& image, Colour face, Colour greyText)
{
    PixelImage out = image;
    for (Pixel& p : out.pixels) {
        uint32_t a = AlphaOf(p);
        if (a == 0)
            continue;
        uint32_t average = (Straight(p, PixelRed) + Straight(p, PixelGreen) + Straight(p, PixelBlue)) / 3;
        p = PremultipliedColour(a, average >= 128 ? face : greyText);
    }
    return out;
}

PixelImage MonochromeMask(const PixelImage& image)
{
    PixelImage out = image;
    for (Pixel& p : out.pixels)
        p = AlphaOf(p) == 0 ? MakePixel(255, 255, 255, 255) : MakePixel(255, 0, 0, 0);
    return out;
}

void DrawFrame3D(PixelImage& image, const TRect& rect, Colour topLeft, Colour bottomRight)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const int32_t right = rect.right - 1;
    const int32_t bottom = rect.bottom - 1;
    const Pixel light = OpaquePixel(topLeft);
    const Pixel dark = OpaquePixel(bottomRight);
    auto put = [&image](int32_t x, int32_t y, Pixel p) {
        if (x >= 0 && y >= 0 && x < image.width && y < image.height)
            image.At(x, y) = p;
    };
    for (int32_t x = std::max(rect.left, 0); x <= std::min(right, image.width - 1); ++x) {
        put(x, rect.top, light);
        put(x, bottom, dark);
    }
    for (int32_t y = std::max(rect.top, 0); y <= std::min(bottom, image.height - 1); ++y) {
        put(rect.left, y, light);
        put(right, y, dark);
    }
    // The corner where the two colours meet at the bottom left belongs to the dark edge.
    put(rect.left, bottom, dark);
}
