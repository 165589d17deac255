// The program's one top-level window. Closing runs in two phases: the first close request
// starts Thread_Close, which disconnects the ports and posts WM_CLOSE again; the second saves
// the settings and lets the window be destroyed.
#pragma once

#include "core/GString.h"
#include "discovery/win/ThreadClose.h"
#include "toolkit/win/TWindow.h"

class MainWindow : public TWindow {
public:
    static constexpr const char* kClassName = "qv_MainWindow";

    // The process singleton, created on first use.
    static MainWindow* Instance();
    // Destroys the singleton (after the message loop ended).
    static void Release();

    // Creates the native window; false when it cannot be created.
    bool Create();
    // Starts a discovery cycle unless one runs; the progress owner receives its progress.
    void StartPortScan(HWND progressOwner);

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    LRESULT OnDestroy() override;
    LRESULT OnClose() override;
    LRESULT OnInitMenuPopup(HWND hwnd, HMENU menu, UINT position, BOOL systemMenu) override;
    LRESULT OnEraseBackground(HDC dc) override;

    const GString& Title() const { return title; }

private:
    MainWindow();
    ~MainWindow() override;

    GString title;
    Thread_Close closeThread;
    bool themesActive = false;
};
