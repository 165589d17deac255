// Layout of the dock panels on plain rectangles: the children of one bar, the docked panels
// within the main window's free area, and the edges the panels draw once the window is up.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/Geometry.h"

// Style bits of a dock panel.
enum DockStyle : uint32_t {
    kDockEdgeTop = 0x1,
    kDockEdgeBottom = 0x2,
    kDockEdgeLeft = 0x4,
    kDockEdgeRight = 0x8,
    kDockEdges = 0xF,
    kDockExtraLeftMargin = 0x10,  // 7 more pixels on the left
    kDockFixed = 0x40,            // may not be undocked
    kDockKeepFocus = 0x2000,      // the owner does not get the focus back after docking
    kDockSideLeft = 0x10000,
    kDockSideRight = 0x20000,
    kDockSideTop = 0x40000,
    kDockSideBottom = 0x80000,
    kDockSides = 0xF0000,
};

constexpr uint32_t kDockInitialStyle = 0xF2040;
constexpr int32_t kDockSeparatorThickness = 9;
constexpr int32_t kDockStartThickness = 16;

inline bool IsHorizontalSide(uint32_t side) { return side == kDockSideTop || side == kDockSideBottom; }

// The edge bits a panel docked on the side draws: top for a top panel, top and bottom for the
// others.
uint32_t DockEdgesForSide(uint32_t side);

struct BarChild {
    bool separator = false;
    TSize size;  // separators take their size from the bar
};

struct BarLayout {
    std::vector<TRect> children;  // in the bar's client coordinates
    bool separatorsVertical = true;
    int32_t thickness = kDockStartThickness;  // across the bar, the largest child
    int32_t across = 0;  // the bar's height (top, bottom) or width (left, right)
};

// Places the children in a row (top, bottom) or a column (left, right) after the margins the
// edge bits ask for.
BarLayout LayOutBar(uint32_t style, uint32_t side, const std::vector<BarChild>& children);

struct DockedPanel {
    uint32_t side = kDockSideTop;
    bool visible = true;
    TSize size;  // its own height (top, bottom) or width (left, right) counts
};

// Places the visible panels in dock-list order: top and bottom panels across the whole free
// width first, then left and right panels in the height between them. placed gets one
// rectangle per panel (empty for hidden ones); returns the area left over.
TRect LayOutDockedPanels(const TRect& free, const std::vector<DockedPanel>& panels, std::vector<TRect>& placed);

// The edges once the main window is shown: a left or right panel followed on its side by
// another visible panel gets the top and right edges, any other left or right panel and every
// top panel the top edge only; other panels keep theirs (currentEdges). Hidden panels keep
// theirs too.
std::vector<uint32_t> EdgesAfterFirstShow(const std::vector<DockedPanel>& panels,
                                          const std::vector<uint32_t>& currentEdges);
