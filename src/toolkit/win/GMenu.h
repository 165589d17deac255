// Owner-drawn menus: every item converted to owner-draw with its text split at the tab and,
// when the program has a bitmap numbered 1000 + the command id, an image in the gutter with a
// grey copy for the disabled look and a mask for the classic embossed one. The menu object
// owns the menu, every item's images and its font, and frees them all when it goes (popups
// are made again for each device that reconnects).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "core/GString.h"
#include "toolkit/win/ImageBitmap.h"

class GMenu;
class TWindow;

struct GMenuItem {
    GMenuItem() = default;
    GMenuItem(const GMenuItem&) = delete;
    GMenuItem& operator=(const GMenuItem&) = delete;
    ~GMenuItem();

    GMenu* owner = nullptr;
    GString text;         // before the tab, with its '&' mnemonic
    GString accelerator;  // after the tab
    UINT type = 0;        // MFT_ bits as loaded
    UINT id = 0;
    bool topLevel = false;
    ImageBitmap image;
    ImageBitmap grey;
    HBITMAP mask = nullptr;  // 1 bit per pixel: white background, black picture
};

class GMenu {
public:
    GMenu();
    GMenu(const GMenu&) = delete;
    GMenu& operator=(const GMenu&) = delete;
    virtual ~GMenu();

    // Loads a menu resource; it is converted when attached or made a popup.
    bool Load(LPCSTR resourceName);
    // Converts the loaded menu, items of the bar marked top-level, and makes it the window's
    // menu bar.
    bool Attach(TWindow* window);
    // Loads a menu resource whose submenus are tracked as popups, and converts it.
    bool LoadPopupMenu(LPCSTR resourceName);
    // Shows submenu `position` at the screen point; the chosen command reaches the owner as
    // WM_COMMAND.
    bool TrackPopup(int position, HWND owner, int x, int y) const;

    HMENU Handle() const { return menu; }
    HMENU Popup(int position) const;
    HFONT Font() const { return font; }
    const std::vector<std::unique_ptr<GMenuItem>>& Items() const { return items; }

    void Enable(UINT id, bool on);
    void SetCheck(UINT id, bool on);
    // Puts the radio mark on id and takes it from the others of first..last.
    void SetRadioCheck(UINT first, UINT last, UINT id);
    // The menu font again from the system's settings (after a setting change).
    void RebuildFont();

    // Owner-draw entry points for the window procedures; false for items of other menus.
    static bool MeasureItem(MEASUREITEMSTRUCT* item);
    static bool DrawItem(DRAWITEMSTRUCT* item);

protected:
    // Converts every item of the menu and, recursively, of its submenus.
    void Convert(HMENU source, bool topLevel);

    HMENU menu = nullptr;

private:
    void DrawBarItem(const GMenuItem& item, const DRAWITEMSTRUCT& draw) const;
    void DrawPopupItem(const GMenuItem& item, const DRAWITEMSTRUCT& draw) const;

    HWND attachedTo = nullptr;
    HFONT font = nullptr;
    std::vector<std::unique_ptr<GMenuItem>> items;
};
