// A dock panel: a bar along one side of the main window's client area holding a row or a
// column of controls (the toolbar, the device list, the device control panels). It is created
// as a small floating tool window and docked at once by its creator; it never floats again.
// Commands and notifications of its controls go on to the owner unchanged.
//
// Every panel is registered in one process-wide list in creation order; the main window lays
// the visible docked panels out by walking it (ui/DockLayout.h).
#pragma once

#include <cstdint>
#include <vector>

#include "core/List.h"
#include "toolkit/win/TWindow.h"
#include "ui/DockLayout.h"

class DockWindow : public TWindow {
public:
    static constexpr const char* kClassName = "qv_DockWindow";

    DockWindow();
    ~DockWindow() override;

    // The floating panel (32x32, placed by the number of panels already registered), owned by
    // owner; registered in the dock list.
    bool Create(TWindow* owner, const char* caption);
    // Makes the panel a child of its owner on that side (kDockSide...) and lays it out.
    void Dock(uint32_t side);
    // Places the children (ui/DockLayout.h), sizes the bar across, asks the owner to lay
    // itself out and repaints the bar.
    void LayOut();

    // Appends a control (owned from now on).
    virtual void AddChild(TWindow* child);
    // Removes the control, deletes it and lays the bar out again.
    virtual void RemoveChild(TWindow* child);

    uint32_t Style() const { return style; }
    // Replaces the edge bits (kDockEdges) and repaints.
    void SetEdges(uint32_t edges);
    uint32_t Side() const { return side; }
    bool IsDocked() const { return docked; }
    // Its own size across the side it is docked on: its height for a top or bottom bar, its
    // width for a left or right one.
    TSize BarSize() const { return barSize; }
    TWindow* Owner() const { return owner; }
    size_t ChildCount() const { return children.Count(); }

    // The registered panels in creation order.
    static const std::vector<DockWindow*>& Panels();

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEraseBackground(HDC dc) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnClose() override;

protected:
    List<TWindow> children;

private:
    void Unregister();
    void DeleteChildren();

    TWindow* owner = nullptr;
    uint32_t style = kDockInitialStyle;
    bool docked = false;
    uint32_t side = kDockSideTop;
    RECT floating{};
    TSize barSize;
    RECT client{};
};
