#include "toolkit/win/ToolkitPalette.h"

#include <initializer_list>

#include "toolkit/win/Theme.h"

const ToolkitPalette& ToolkitPalette::Get()
{
    static ToolkitPalette palette;
    return palette;
}

ToolkitPalette::ToolkitPalette()
{
    SystemColours system;
    system.window = GetSysColor(COLOR_WINDOW);
    system.windowText = GetSysColor(COLOR_WINDOWTEXT);
    system.windowFrame = GetSysColor(COLOR_WINDOWFRAME);
    system.menu = GetSysColor(COLOR_MENU);
    system.menuText = GetSysColor(COLOR_MENUTEXT);
    system.menuBar = GetSysColor(COLOR_MENUBAR);
    system.highlight = GetSysColor(COLOR_HIGHLIGHT);
    system.buttonFace = GetSysColor(COLOR_BTNFACE);
    system.buttonText = GetSysColor(COLOR_BTNTEXT);
    system.greyText = GetSysColor(COLOR_GRAYTEXT);
    BOOL flatMenus = FALSE;
    SystemParametersInfoA(SPI_GETFLATMENU, 0, &flatMenus, 0);
    system.menuBarColoured = flatMenus != FALSE || ThemeApi::Get().IsThemeActive() != FALSE;

    int bitsPerPixel = 32;
    if (HDC screen = GetDC(nullptr)) {
        bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
    }
    colours = ComputePalette(system, bitsPerPixel);
    windowBrush = CreateSolidBrush(colours.window);
    gutterBrush = CreateSolidBrush(colours.gutter);
    menuBarBrush = CreateSolidBrush(colours.menuBar);
    selectionBrush = CreateSolidBrush(colours.selection);
}

ToolkitPalette::~ToolkitPalette()
{
    for (HBRUSH brush : {selectionBrush, menuBarBrush, gutterBrush, windowBrush})
        if (brush != nullptr)
            DeleteObject(brush);
}
