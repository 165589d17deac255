// Windows side of the pixel images: reading bitmap resources into pixels and drawing pixels
// as 32-bit bitmaps with per-pixel alpha.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "toolkit/PixelImage.h"

// The pixels of a bitmap as a top-down 32-bit buffer, alpha as stored (0 in bitmaps of fewer
// bits).
bool PixelsFromBitmap(HBITMAP bitmap, PixelImage& out);
// Turns raw bitmap pixels into a drawable image: a 32-bit bitmap keeps its alpha, others
// take the top-left colour as transparent; then premultiplied.
void PrepareForDrawing(PixelImage& image);
// A bitmap resource of the program, ready for drawing (PrepareForDrawing).
bool LoadBitmapResource(int id, PixelImage& out);
// A 32-bit top-down DIB section holding the pixels; null on failure. The caller owns it.
HBITMAP CreateImageBitmap(const PixelImage& image);

// An image list of icon resources of one size, in the order given (a missing icon leaves its
// place empty); null when the list cannot be made. The caller owns it.
HIMAGELIST ImageListFromIcons(std::initializer_list<int> iconIds, int width, int height);

// An image as a bitmap of its own, drawn with per-pixel alpha. Move-only.
class ImageBitmap {
public:
    ImageBitmap() = default;
    explicit ImageBitmap(const PixelImage& image);
    ImageBitmap(ImageBitmap&& other) noexcept;
    ImageBitmap& operator=(ImageBitmap&& other) noexcept;
    ImageBitmap(const ImageBitmap&) = delete;
    ImageBitmap& operator=(const ImageBitmap&) = delete;
    ~ImageBitmap();

    bool IsValid() const { return bitmap != nullptr; }
    HBITMAP Handle() const { return bitmap; }
    int Width() const { return width; }
    int Height() const { return height; }
    void Draw(HDC dc, int x, int y) const;

private:
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};
