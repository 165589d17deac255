#include "toolkit/win/ImageBitmap.h"

#include <cstring>
#include <utility>

namespace {
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
}  // namespace

bool PixelsFromBitmap(HBITMAP bitmap, PixelImage& out)
{
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    PixelImage image(bm.bmWidth, bm.bmHeight);
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), image.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight)
        return false;
    // Only a 32-bit bitmap carries alpha; GetDIBits leaves the fourth byte of others undefined.
    if (bm.bmBitsPixel != 32) {
        for (Pixel& p : image.pixels)
            p &= 0xFFFFFF;
    }
    out = std::move(image);
    return true;
}

void PrepareForDrawing(PixelImage& image)
{
    if (!HasAlpha(image))
        KeyToAlpha(image);
    Premultiply(image);
}

bool LoadBitmapResource(int id, PixelImage& out)
{
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return false;
    bool ok = PixelsFromBitmap(bitmap, out);
    DeleteObject(bitmap);
    if (ok)
        PrepareForDrawing(out);
    return ok;
}

HBITMAP CreateImageBitmap(const PixelImage& image)
{
    if (image.IsEmpty())
        return nullptr;
    BITMAPINFO info = TopDown32(image.width, image.height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr)
        return bitmap;
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(Pixel));
    GdiFlush();
    return bitmap;
}

HIMAGELIST ImageListFromIcons(std::initializer_list<int> iconIds, int width, int height)
{
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, static_cast<int>(iconIds.size()), 0);
    if (list == nullptr)
        return nullptr;
    for (int id : iconIds) {
        auto icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0));
        if (icon != nullptr) {
            ImageList_AddIcon(list, icon);
            DestroyIcon(icon);
        } else {
            // An empty picture keeps the indexes of the icons after it.
            PixelImage empty(width, height);
            HBITMAP blank = CreateImageBitmap(empty);
            ImageList_Add(list, blank, nullptr);
            DeleteObject(blank);
        }
    }
    return list;
}

ImageBitmap::ImageBitmap(const PixelImage& image)
    : bitmap(CreateImageBitmap(image)), width(image.width), height(image.height)
{
}

ImageBitmap::ImageBitmap(ImageBitmap&& other) noexcept
    : bitmap(std::exchange(other.bitmap, nullptr)), width(other.width), height(other.height)
{
}

ImageBitmap& ImageBitmap::operator=(ImageBitmap&& other) noexcept
{
    if (this != &other) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        bitmap = std::exchange(other.bitmap, nullptr);
        width = other.width;
        height = other.height;
    }
    return *this;
}

ImageBitmap::~ImageBitmap()
{
    if (bitmap != nullptr)
        DeleteObject(bitmap);
}

void ImageBitmap::Draw(HDC dc, int x, int y) const
{
    if (bitmap == nullptr || dc == nullptr)
        return;
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr)
        return;
    HGDIOBJ old = SelectObject(source, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source, 0, 0, width, height, blend);
    SelectObject(source, old);
    DeleteDC(source);
}
