#include "toolkit/win/PaintBuffer.h"

PaintBuffer::~PaintBuffer() { Free(); }

void PaintBuffer::Begin(HDC& dc, const RECT& rect)
{
    Free();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (dc == nullptr || width <= 0 || height <= 0)
        return;
    memory = CreateCompatibleDC(dc);
    bitmap = memory != nullptr ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (bitmap == nullptr) {
        Free();
        return;
    }
    oldBitmap = SelectObject(memory, bitmap);
    SetWindowOrgEx(memory, rect.left, rect.top, nullptr);
    // Drawing code expects the caller's font and colours.
    SelectObject(memory, GetCurrentObject(dc, OBJ_FONT));
    SetTextColor(memory, GetTextColor(dc));
    SetBkColor(memory, GetBkColor(dc));
    SetBkMode(memory, GetBkMode(dc));
    real = dc;
    area = rect;
    dc = memory;
}

void PaintBuffer::End(HDC& dc)
{
    if (real == nullptr)
        return;
    BitBlt(real, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left, area.top,
           SRCCOPY);
    dc = real;
    Free();
}

void PaintBuffer::Free()
{
    if (memory != nullptr) {
        if (oldBitmap != nullptr)
            SelectObject(memory, oldBitmap);
        DeleteDC(memory);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    real = nullptr;
    memory = nullptr;
    bitmap = nullptr;
    oldBitmap = nullptr;
}
