// Base of every object that owns a native window: binds the object to its window at creation
// (or binds an existing control and subclasses it) and turns the messages the program cares
// about into virtual calls with decoded arguments. A handler answers kNotHandled (-1) to let the
// default processing run.
//
// Lifetime: the object owns its native window. A derived class whose handlers matter while the
// window goes (OnClose, OnDestroy) calls DestroyNativeWindow() in its own destructor, while the
// whole object still answers; the base destructor never dispatches: it only unbinds and then
// destroys whatever window is left.
#pragma once

#include <windows.h>

#include "core/GString.h"
#include "toolkit/Geometry.h"

class TWindow {
public:
    static constexpr LRESULT kNotHandled = -1;

    // Window kinds; containers lay their children out by them.
    enum Kind { kPlain = 0, kButton = 1, kCheckBox = 2, kListBox = 4, kStatic = 6, kSeparator = 7 };

    // Style bits of SetFontByFace and the controls' font styles.
    enum FontStyle : unsigned { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

    // How a subclassed control shares its messages with the object.
    enum class SubclassRule {
        // The object first: 0 means handled (the default window processing runs instead of the
        // control's own procedure), anything else passes the message on to the control.
        ZeroMeansHandled,
        // The object first: kNotHandled passes the message on to the control, anything else
        // means handled and the default window processing runs instead.
        NotHandledPassesOn,
        // Not subclassed: the control keeps all its messages (thin wrappers).
        None,
    };

    TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;
    virtual ~TWindow();

    virtual BOOL Show();
    virtual BOOL Hide();
    // Dispatcher: routes the message to one handler and returns its answer (kNotHandled when
    // no handler took it). Overrides catch messages the table does not route, then call this.
    virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMeasureItem(MEASUREITEMSTRUCT* item);
    virtual LRESULT OnDrawItem(DRAWITEMSTRUCT* item);
    virtual LRESULT OnCommand(int notifyCode, int id, HWND control);
    virtual LRESULT OnNotify(int id, NMHDR* header);
    // Answer -1 to refuse the creation of the window.
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
    int WindowKind() const { return kind; }

    // The object bound to a window, or null.
    static TWindow* FromHandle(HWND hwnd);
    // The object bound to child when child is still a window and a child of parent, else null.
    // Receivers of a posted control handle use it: the control may be gone by then.
    static TWindow* FindChild(HWND parent, HWND child);

    // Registers a window class that routes to SharedWindowProc. The icon is a resource id
    // (0: the system application icon and no small icon); null cursor or background give the
    // arrow and the white stock brush.
    static bool RegisterWindowClass(int iconId, HCURSOR cursor, HBRUSH background,
                                    const char* className, UINT style);
    static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Takes over an existing control: binds the object to it and subclasses it under the rule.
    // False when the control is missing or already bound to another object.
    bool BindControl(HWND control, SubclassRule rule);
    bool Subclass(SubclassRule rule);
    void Unsubclass();

    // Font from a face name and a height in tenths of a point (width 0: the face's own); style
    // bits from FontStyle. With logical scaling the display's logical pixels per inch are
    // used, else its physical size. Replaces (and deletes) the window's previous font.
    bool SetFontByFace(const char* face, int tenthsOfPoint, int widthTenths, unsigned style, bool logicalScaling);
    bool CopyFont(HFONT source);
    // The window font, or the system font when none was set.
    HFONT GetFont() const;
    // Loads a system cursor (IDC_...), keeps it and makes it current.
    HCURSOR SetCursorById(LPCSTR id);
    HCURSOR Cursor() const { return cursor; }
    // Replaces the background brush by a solid brush of the colour.
    void SetBackgroundColour(COLORREF colour);
    HBRUSH BackgroundBrush() const { return backgroundBrush; }
    GString GetText() const;
    void SetText(const GString& text);
    // Clears then sets bits of the style (or extended style) word; false when it did not
    // change. With position flags the frame is refreshed in place.
    bool ModifyStyle(DWORD remove, DWORD add, UINT positionFlags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT positionFlags = 0);
    // The window's tooltip (made on first use) shows the text over the whole window; an
    // optional title comes with the information icon. Later calls change the text.
    bool AddTooltip(const char* text, const char* title = nullptr);
    // The tool asks for its text when it shows: the window answers TTN_GETDISPINFO in
    // OnNotify.
    void TooltipOnDemand();
    HWND Tooltip() const { return tooltip; }
    // Sends the close message when the window still exists.
    void CloseIfAlive();

    void Invalidate(bool erase = true) const;
    void UpdateNow() const;  // paints what is invalid at once
    void Focus() const;
    HWND Parent() const;
    TSize OuterSize() const;

    void* userData = nullptr;  // application object attached to the window, not owned

protected:
    // Closes the window while the whole object answers its messages, then makes sure it is
    // gone even when OnClose kept it. Derived destructors call this.
    void DestroyNativeWindow();
    // Sets the handle and the window's link to the object.
    void Bind(HWND hwnd);
    // Everything the window held: tooltip, font, brush, subclass, the link to the object and
    // the handle. Runs when the window is destroyed; safe to run twice.
    void ReleaseWindow();

    HWND handle = nullptr;
    HFONT font = nullptr;
    HBRUSH backgroundBrush = nullptr;
    int kind = kPlain;
    HCURSOR cursor = nullptr;
    WNDPROC savedProcedure = nullptr;
    HWND tooltip = nullptr;

    // Makes the font the window's own (deleting the previous one) and gives it to the window.
    void ReplaceFont(HFONT replacement);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Draw and measure records of children go to the object bound to the child.
    LRESULT RouteDrawItem(DRAWITEMSTRUCT* item);
    LRESULT RouteMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* item);

    SubclassRule subclassRule = SubclassRule::ZeroMeansHandled;
};
