#include "ui/DockLayout.h"

#include <algorithm>

namespace {
constexpr int32_t kMargin = 3;
constexpr int32_t kExtraLeft = 7;
}  // namespace

uint32_t DockEdgesForSide(uint32_t side)
{
    return side == kDockSideTop ? kDockEdgeTop : kDockEdgeTop | kDockEdgeBottom;
}

BarLayout LayOutBar(uint32_t style, uint32_t side, const std::vector<BarChild>& children)
{
    const int32_t top = (style & kDockEdgeTop) != 0 ? kMargin : 0;
    const int32_t bottom = (style & kDockEdgeBottom) != 0 ? kMargin : 0;
    int32_t left = (style & kDockEdgeLeft) != 0 ? kMargin : 0;
    if ((style & kDockExtraLeftMargin) != 0)
        left += kExtraLeft;
    const bool row = IsHorizontalSide(side);

    BarLayout layout;
    layout.separatorsVertical = row;
    int32_t x = left + 1;
    int32_t y = top;
    for (const BarChild& child : children) {
        TSize size = child.size;
        if (child.separator)
            size = row ? TSize(kDockSeparatorThickness, layout.thickness)
                       : TSize(layout.thickness, kDockSeparatorThickness);
        layout.children.emplace_back(x, y, x + size.cx, y + size.cy);
        if (row) {
            x += size.cx;
            layout.thickness = std::max(layout.thickness, size.cy);
        } else {
            y += size.cy;
            layout.thickness = std::max(layout.thickness, size.cx);
        }
    }
    layout.across = row ? layout.thickness + top + bottom + 2 : layout.thickness + 2;
    return layout;
}

TRect LayOutDockedPanels(const TRect& free, const std::vector<DockedPanel>& panels, std::vector<TRect>& placed)
{
    placed.assign(panels.size(), TRect());
    TRect area = free;
    for (size_t i = 0; i < panels.size(); ++i) {
        const DockedPanel& panel = panels[i];
        if (!panel.visible)
            continue;
        if (panel.side == kDockSideTop) {
            placed[i] = TRect(area.left, area.top, area.right, area.top + panel.size.cy);
            area.top += panel.size.cy;
        } else if (panel.side == kDockSideBottom) {
            placed[i] = TRect(area.left, area.bottom - panel.size.cy, area.right, area.bottom);
            area.bottom -= panel.size.cy;
        }
    }
    for (size_t i = 0; i < panels.size(); ++i) {
        const DockedPanel& panel = panels[i];
        if (!panel.visible)
            continue;
        if (panel.side == kDockSideLeft) {
            placed[i] = TRect(area.left, area.top, area.left + panel.size.cx, area.bottom);
            area.left += panel.size.cx;
        } else if (panel.side == kDockSideRight) {
            placed[i] = TRect(area.right - panel.size.cx, area.top, area.right, area.bottom);
            area.right -= panel.size.cx;
        }
    }
    return area;
}

std::vector<uint32_t> EdgesAfterFirstShow(const std::vector<DockedPanel>& panels,
                                          const std::vector<uint32_t>& currentEdges)
{
    std::vector<uint32_t> edges = currentEdges;
    edges.resize(panels.size(), 0);
    for (size_t i = 0; i < panels.size(); ++i) {
        const DockedPanel& panel = panels[i];
        if (!panel.visible)
            continue;
        if (panel.side == kDockSideTop) {
            edges[i] = kDockEdgeTop;
        } else if (panel.side == kDockSideLeft || panel.side == kDockSideRight) {
            bool followed = false;
            for (size_t j = i + 1; j < panels.size() && !followed; ++j)
                followed = panels[j].visible && panels[j].side == panel.side;
            edges[i] = followed ? kDockEdgeTop | kDockEdgeRight : kDockEdgeTop;
        }
    }
    return edges;
}
