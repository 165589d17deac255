// The process-wide palette of the owner-drawn controls and menus: the colours of PaletteRules
// for this screen, and the brushes painted with them. Built once, by the first window object.
#pragma once

#include <windows.h>

#include "toolkit/PaletteRules.h"

class ToolkitPalette {
public:
    static const ToolkitPalette& Get();

    const PaletteColours& Colours() const { return colours; }
    HBRUSH WindowBrush() const { return windowBrush; }
    HBRUSH GutterBrush() const { return gutterBrush; }
    HBRUSH MenuBarBrush() const { return menuBarBrush; }
    HBRUSH SelectionBrush() const { return selectionBrush; }

    ToolkitPalette(const ToolkitPalette&) = delete;
    ToolkitPalette& operator=(const ToolkitPalette&) = delete;

private:
    ToolkitPalette();
    ~ToolkitPalette();

    PaletteColours colours;
    HBRUSH windowBrush = nullptr;
    HBRUSH gutterBrush = nullptr;
    HBRUSH menuBarBrush = nullptr;
    HBRUSH selectionBrush = nullptr;
};
