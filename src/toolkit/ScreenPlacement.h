// Keeping a top-level window within the primary screen: the rule on plain rectangles, so that
// it is tested without a window. toolkit/win/ScreenPlacementWin.h applies it to a window.
#pragma once

#include <cstdint>

// A window's outer rectangle in screen coordinates.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Moves rect (never resizes it) so that a window saved at a far-off place, or reaching past
// the right or bottom edge, comes back onto a screen of the given size. A window wider than
// the screen ends with its right edge on the screen's; one taller than the screen keeps its
// top at 0, so its caption stays within reach. True when rect was moved.
bool KeepOnScreen(ScreenRect& rect, int32_t screenWidth, int32_t screenHeight);
