// Double buffering: painting goes to a memory context of the rectangle's size and is copied to
// the screen at the end. When no memory context or bitmap can be made, painting goes straight
// to the screen.
#pragma once

#include <windows.h>

class PaintBuffer {
public:
    PaintBuffer() = default;
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;
    ~PaintBuffer();

    // Substitutes the memory context for dc; the coordinates stay those of the real context.
    void Begin(HDC& dc, const RECT& rect);
    // Copies the rectangle back to the real context, frees the memory objects and gives dc back.
    void End(HDC& dc);

private:
    void Free();

    HDC real = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    RECT area{};
};
