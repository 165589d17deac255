// The strip above the file list: "Вверх" (215), "Путь:" (216, tooltip "Избранное") and a
// field with the port kind's icon and the current phone path, the whole path also in the
// strip's tooltip. The buttons' commands go on to the owner. "Путь:" has no action yet: the
// favourites kept with each phone are neither shown nor changed.
#pragma once

#include "core/GString.h"
#include "filemanager/FileManagerRules.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/ImageBitmap.h"
#include "toolkit/win/TWindow.h"

class PathLineBrowserWindow : public TWindow {
public:
    static constexpr const char* kClassName = "qv_PathLineBrowserWindow";

    PathLineBrowserWindow();
    ~PathLineBrowserWindow() override;

    // A child of owner with both buttons and the icon of the port kind (TComm::kSerial,
    // kIrDA or kBluetooth); false when the window cannot be created.
    bool Create(TWindow* owner, int portKind);
    // Sizes and places the buttons for the current font; the strip's height.
    int Layout();
    // The field shows text; the tooltip shows it whole.
    void SetPath(const GString& text);
    const GString& Path() const { return pathText; }
    void EnableUp(bool enabled);
    const PathLineLayout& Placement() const { return layout; }

    Button upButton;
    Button favouritesButton;

    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    LRESULT OnPaint() override;
    LRESULT OnEraseBackground(HDC dc) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnClose() override;

private:
    void PaintField(HDC dc);

    TWindow* owner = nullptr;
    GString pathText;
    ImageBitmap portIcon;
    PathLineLayout layout;
    int upNaturalWidth = 0;
    int favouritesNaturalWidth = 0;
    int textHeight = 0;
    TRect lastClient;
};
