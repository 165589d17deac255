#include "ui/MainLayout.h"

MainLayout LayOutMainWindow(const TRect& client, int32_t statusHeight, const std::vector<DockedPanel>& panels,
                            bool viewShown)
{
    MainLayout layout;
    if (panels.empty())
        return layout;
    TRect free = client;
    if (statusHeight >= 0) {
        layout.statusBar = TRect(free.left, free.bottom - statusHeight, free.right, free.bottom);
        free.bottom -= statusHeight;
    }
    free = LayOutDockedPanels(free, panels, layout.panels);
    if (viewShown)
        layout.view = free;
    return layout;
}
