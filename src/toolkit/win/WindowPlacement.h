// Placement helpers on a window handle.
#pragma once

#include <windows.h>

// Moves the window so that its outer rectangle is centred on the primary screen; nothing
// happens when the screen size cannot be read.
void CentreOnScreen(HWND hwnd);
// Makes the window the foreground window even when another thread owns the current one, and
// gives it the focus.
void BringToForeground(HWND hwnd);
