// The keep-on-screen rule (toolkit/ScreenPlacement.h) applied to a window.
#pragma once

#include <windows.h>

// Moves the window, without resizing it, back within the primary screen where the rule asks
// for it; nothing happens when its rectangle or the screen size cannot be read.
void KeepWindowOnScreen(HWND window);
