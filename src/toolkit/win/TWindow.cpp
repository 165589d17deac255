#include "toolkit/win/TWindow.h"

#include <windowsx.h>

namespace {
constexpr char kObjectProperty[] = "qv_TWindow";
}

TWindow::~TWindow()
{
    if (handle != nullptr && IsWindow(handle)) {
        RemovePropA(handle, kObjectProperty);
        DestroyWindow(handle);
    }
    if (font != nullptr)
        DeleteObject(font);
    if (backgroundBrush != nullptr)
        DeleteObject(backgroundBrush);
}

BOOL TWindow::Show() { return handle != nullptr && (ShowWindow(handle, SW_SHOWNORMAL), TRUE); }

BOOL TWindow::Hide()
{
    return handle != nullptr &&
           SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TWindow::OnMeasureItem(MEASUREITEMSTRUCT*) { return kNotHandled; }
LRESULT TWindow::OnDrawItem(DRAWITEMSTRUCT*) { return kNotHandled; }
LRESULT TWindow::OnCommand(int, int, HWND) { return kNotHandled; }
LRESULT TWindow::OnNotify(int, NMHDR*) { return kNotHandled; }
LRESULT TWindow::OnCreate(CREATESTRUCTA*) { return 0; }
LRESULT TWindow::OnLButtonDown(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::OnLButtonDblClk(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::OnLButtonUp(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::OnRButtonUp(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::OnKeyUp(UINT, UINT) { return kNotHandled; }
LRESULT TWindow::OnMouseMove(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::Reserved14() { return kNotHandled; }
LRESULT TWindow::OnCaptureChanged(HWND) { return kNotHandled; }
LRESULT TWindow::Reserved16(WPARAM, LPARAM, UINT) { return kNotHandled; }
LRESULT TWindow::OnEraseBackground(HDC) { return 0; }
LRESULT TWindow::OnPaint() { return kNotHandled; }
LRESULT TWindow::OnSize(int, int, UINT) { return kNotHandled; }
LRESULT TWindow::OnShowWindow(BOOL, UINT) { return kNotHandled; }
LRESULT TWindow::OnDestroy() { return 0; }
LRESULT TWindow::OnClose() { return kNotHandled; }
LRESULT TWindow::OnActivate(UINT, BOOL, HWND) { return kNotHandled; }
LRESULT TWindow::OnMouseActivate(HWND, UINT, UINT) { return kNotHandled; }
LRESULT TWindow::OnEnable(BOOL) { return kNotHandled; }
LRESULT TWindow::OnSetFocus(HWND) { return kNotHandled; }
LRESULT TWindow::OnKillFocus(HWND) { return kNotHandled; }
LRESULT TWindow::OnInitMenuPopup(HWND, HMENU, UINT, BOOL) { return kNotHandled; }

LRESULT TWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = kNotHandled;
    switch (message) {
    case WM_MEASUREITEM: result = OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); break;
    case WM_DRAWITEM: result = OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); break;
    case WM_COMMAND:
        result = OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_NOTIFY: result = OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam)); break;
    case WM_CREATE: result = OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)); break;
    case WM_LBUTTONDOWN:
        result = OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        break;
    case WM_LBUTTONDBLCLK:
        result = OnLButtonDblClk(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        break;
    case WM_LBUTTONUP:
        result = OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        break;
    case WM_RBUTTONUP:
        result = OnRButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        break;
    case WM_KEYUP: result = OnKeyUp(static_cast<UINT>(wParam), static_cast<UINT>(lParam)); break;
    case WM_MOUSEMOVE:
        result = OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        break;
    case WM_CAPTURECHANGED: result = OnCaptureChanged(reinterpret_cast<HWND>(lParam)); break;
    case WM_ERASEBKGND: result = OnEraseBackground(reinterpret_cast<HDC>(wParam)); break;
    case WM_PAINT: result = OnPaint(); break;
    case WM_SIZE: result = OnSize(LOWORD(lParam), HIWORD(lParam), static_cast<UINT>(wParam)); break;
    case WM_SHOWWINDOW: result = OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); break;
    case WM_DESTROY: result = OnDestroy(); break;
    case WM_CLOSE: result = OnClose(); break;
    case WM_ACTIVATE:
        result = OnActivate(LOWORD(wParam), HIWORD(wParam) != 0, reinterpret_cast<HWND>(lParam));
        break;
    case WM_MOUSEACTIVATE:
        result = OnMouseActivate(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_ENABLE: result = OnEnable(static_cast<BOOL>(wParam)); break;
    case WM_SETFOCUS: result = OnSetFocus(reinterpret_cast<HWND>(wParam)); break;
    case WM_KILLFOCUS: result = OnKillFocus(reinterpret_cast<HWND>(wParam)); break;
    case WM_INITMENUPOPUP:
        result = OnInitMenuPopup(hwnd, reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
        break;
    default: break;
    }
    if (result != kNotHandled)
        return result;
    if (savedProcedure != nullptr)
        return CallWindowProcA(savedProcedure, hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool TWindow::RegisterWindowClass(int iconId, HCURSOR cursor, HBRUSH background,
                                  const char* className, UINT style)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = SharedWindowProc;
    wc.hInstance = instance;
    if (iconId != 0) {
        wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 32, 32, 0));
        wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
    } else {
        wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    }
    wc.hCursor = cursor != nullptr ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background != nullptr ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK TWindow::SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<TWindow*>(GetPropA(hwnd, kObjectProperty));
    if (self == nullptr && message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<TWindow*>(create->lpCreateParams);
        if (self != nullptr) {
            self->handle = hwnd;
            SetPropA(hwnd, kObjectProperty, self);
        }
    }
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = self->WindowProc(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProperty);
        self->handle = nullptr;
    }
    return result;
}
