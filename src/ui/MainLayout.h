// Where the main window puts its status bar, its docked panels and the shown view.
#pragma once

#include <optional>
#include <vector>

#include "toolkit/Geometry.h"
#include "ui/DockLayout.h"

struct MainLayout {
    std::optional<TRect> statusBar;
    std::vector<TRect> panels;  // one per docked panel, empty for hidden ones
    std::optional<TRect> view;
};

// The status bar (statusHeight < 0: hidden) across the bottom of the client area, the docked
// panels in what is left, and the view, when one shows, in the rest. Without any docked panel
// nothing is placed.
MainLayout LayOutMainWindow(const TRect& client, int32_t statusHeight, const std::vector<DockedPanel>& panels,
                            bool viewShown);
