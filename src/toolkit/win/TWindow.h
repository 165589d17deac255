// Base of every object that owns a native window: binds the object to its window at creation
// and turns the messages the program cares about into virtual calls. A handler answers
// kNotHandled (-1) to let the default processing run.
#pragma once

#include <windows.h>

class TWindow {
public:
    static constexpr LRESULT kNotHandled = -1;

    TWindow() = default;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;
    virtual ~TWindow();

    virtual BOOL Show();
    virtual BOOL Hide();
    virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMeasureItem(MEASUREITEMSTRUCT* item);
    virtual LRESULT OnDrawItem(DRAWITEMSTRUCT* item);
    virtual LRESULT OnCommand(int notifyCode, int id, HWND control);
    virtual LRESULT OnNotify(int id, NMHDR* header);
    virtual LRESULT OnCreate(CREATESTRUCTA* create);
    virtual LRESULT OnLButtonDown(int x, int y, UINT keys);
    virtual LRESULT OnLButtonDblClk(int x, int y, UINT keys);
    virtual LRESULT OnLButtonUp(int x, int y, UINT keys);
    virtual LRESULT OnRButtonUp(int x, int y, UINT keys);
    virtual LRESULT OnKeyUp(UINT key, UINT flags);
    virtual LRESULT OnMouseMove(int x, int y, UINT keys);
    virtual LRESULT Reserved14();
    virtual LRESULT OnCaptureChanged(HWND gaining);
    virtual LRESULT Reserved16(WPARAM, LPARAM, UINT);
    virtual LRESULT OnEraseBackground(HDC dc);
    virtual LRESULT OnPaint();
    virtual LRESULT OnSize(int width, int height, UINT type);
    virtual LRESULT OnShowWindow(BOOL shown, UINT status);
    virtual LRESULT OnDestroy();
    virtual LRESULT OnClose();
    virtual LRESULT OnActivate(UINT state, BOOL minimized, HWND other);
    virtual LRESULT OnMouseActivate(HWND topLevel, UINT hitTest, UINT mouseMessage);
    virtual LRESULT OnEnable(BOOL enabled);
    virtual LRESULT OnSetFocus(HWND losing);
    virtual LRESULT OnKillFocus(HWND receiving);
    virtual LRESULT OnInitMenuPopup(HWND hwnd, HMENU menu, UINT position, BOOL systemMenu);

    HWND Handle() const { return handle; }

    // Registers a window class that routes to SharedWindowProc. The icon is a resource id
    // (0 for the system application icon).
    static bool RegisterWindowClass(int iconId, HCURSOR cursor, HBRUSH background,
                                    const char* className, UINT style);
    static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    HWND handle = nullptr;
    HFONT font = nullptr;
    HBRUSH backgroundBrush = nullptr;
    int kind = 0;
    HCURSOR cursor = nullptr;
    WNDPROC savedProcedure = nullptr;
    HWND tooltip = nullptr;

public:
    void* userData = nullptr;
};
