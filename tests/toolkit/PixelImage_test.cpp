#include "toolkit/PixelImage.h"

#include <gtest/gtest.h>

namespace {

constexpr Pixel kKey = MakePixel(0, 255, 0, 255);  // magenta without alpha, as GetDIBits reads a 24-bit bitmap

PixelImage Row(std::initializer_list<Pixel> pixels)
{
    PixelImage image(static_cast<int32_t>(pixels.size()), 1);
    image.pixels = pixels;
    return image;
}

}  // namespace

TEST(PixelImage, StripIsCutIntoSquaresInOrder)
{
    // Three 2 x 2 images whose pixels name their image and position.
    PixelImage strip(6, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 6; ++x)
            strip.At(x, y) = static_cast<Pixel>(100 * (x / 2) + 10 * y + x % 2);
    std::vector<PixelImage> images = CutStrip(strip);
    ASSERT_EQ(images.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(images[i].width, 2);
        ASSERT_EQ(images[i].height, 2);
        EXPECT_EQ(images[i].At(1, 1), static_cast<Pixel>(100 * i + 11));
        EXPECT_EQ(images[i].At(0, 0), static_cast<Pixel>(100 * i));
    }
    // A leftover narrower than the height is no image.
    strip = PixelImage(7, 2);
    EXPECT_EQ(CutStrip(strip).size(), 3u);
    EXPECT_EQ(CutStrip(PixelImage(16, 16)).size(), 1u);
    EXPECT_EQ(CutStrip(PixelImage(10, 16)).front().width, 10);
    EXPECT_TRUE(CutStrip(PixelImage()).empty());

    PixelImage second = StripImage(PixelImage(48, 16, 7), 2);
    EXPECT_EQ(second.width, 16);
    EXPECT_TRUE(StripImage(PixelImage(48, 16), 3).IsEmpty());
    EXPECT_TRUE(StripImage(PixelImage(48, 16), -1).IsEmpty());
}

TEST(PixelImage, TopLeftColourBecomesTransparentAndAlphaIsPremultiplied)
{
    PixelImage keyed = Row({kKey, MakePixel(0, 10, 20, 30), kKey, MakePixel(0, 255, 0, 254)});
    EXPECT_FALSE(HasAlpha(keyed));
    KeyToAlpha(keyed);
    EXPECT_EQ(keyed.pixels, Row({0, MakePixel(255, 10, 20, 30), 0, MakePixel(255, 255, 0, 254)}).pixels);
    EXPECT_TRUE(HasAlpha(keyed));

    PixelImage translucent = Row({MakePixel(128, 200, 100, 50), MakePixel(255, 9, 8, 7), MakePixel(0, 99, 99, 99)});
    Premultiply(translucent);
    EXPECT_EQ(translucent.pixels,
              Row({MakePixel(128, 100, 50, 25), MakePixel(255, 9, 8, 7), MakePixel(0, 0, 0, 0)}).pixels);
}

TEST(PixelImage, GreyAndLightenedLooksKeepTheBackground)
{
    const PixelImage image = Row({0, MakePixel(255, 255, 0, 0), MakePixel(255, 0, 255, 0), MakePixel(255, 0, 0, 255),
                                  MakePixel(255, 100, 100, 100), MakePixel(128, 64, 64, 64)});
    // Luminance 0.299 R + 0.587 G + 0.114 B, rounded down.
    EXPECT_EQ(GreyCopy(image).pixels,
              Row({0, MakePixel(255, 76, 76, 76), MakePixel(255, 149, 149, 149), MakePixel(255, 29, 29, 29),
                   MakePixel(255, 100, 100, 100), MakePixel(128, 64, 64, 64)})
                  .pixels);
    // 65 % towards white, which premultiplied by alpha 128 is 128.
    EXPECT_EQ(LightenedCopy(image).pixels,
              Row({0, MakePixel(255, 255, 165, 165), MakePixel(255, 165, 255, 165), MakePixel(255, 165, 165, 255),
                   MakePixel(255, 200, 200, 200), MakePixel(128, 105, 105, 105)})
                  .pixels);
}

TEST(PixelImage, DisabledLookSplitsAtChannelAverage128)
{
    const Colour face = MakeColour(240, 240, 240);
    const Colour grey = MakeColour(109, 109, 109);
    const PixelImage image = Row({0, MakePixel(255, 128, 128, 128), MakePixel(255, 127, 127, 127),
                                  MakePixel(255, 255, 129, 0), MakePixel(255, 255, 127, 0),
                                  // Premultiplied: straight 254 is light although the stored bytes are 127.
                                  MakePixel(128, 127, 127, 127)});
    EXPECT_EQ(DisabledCopy(image, face, grey).pixels,
              Row({0, MakePixel(255, 240, 240, 240), MakePixel(255, 109, 109, 109), MakePixel(255, 240, 240, 240),
                   MakePixel(255, 109, 109, 109), MakePixel(128, 120, 120, 120)})
                  .pixels);
}

TEST(PixelImage, MaskIsWhiteOnBackgroundAndBlackOnDrawing)
{
    const Pixel white = MakePixel(255, 255, 255, 255);
    const Pixel black = MakePixel(255, 0, 0, 0);
    EXPECT_EQ(MonochromeMask(Row({0, MakePixel(255, 255, 255, 255), MakePixel(1, 0, 0, 0), 0})).pixels,
              Row({white, black, black, white}).pixels);
}

TEST(PixelImage, Frame3DLightTopLeftDarkBottomRight)
{
    const Colour light = MakeColour(255, 255, 255);
    const Colour dark = MakeColour(64, 64, 64);
    const Pixel L = OpaquePixel(light), D = OpaquePixel(dark), o = 0;
    PixelImage image(5, 4);
    DrawFrame3D(image, TRect(0, 0, 4, 4), light, dark);
    const std::vector<Pixel> expected = {
        L, L, L, D, o,
        L, o, o, D, o,
        L, o, o, D, o,
        D, D, D, D, o,
    };
    EXPECT_EQ(image.pixels, expected);
    // Edges outside the image are not drawn.
    PixelImage small(2, 2);
    DrawFrame3D(small, TRect(-1, -1, 5, 5), light, dark);
    EXPECT_EQ(small.pixels, (std::vector<Pixel>{o, o, o, o}));
    DrawFrame3D(small, TRect(-1, 0, 2, 2), light, dark);
    EXPECT_EQ(small.pixels, (std::vector<Pixel>{L, D, D, D}));
}
