#include "toolkit/win/TWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <cstring>

#include "toolkit/win/GMenu.h"
#include "toolkit/win/ToolkitPalette.h"

namespace {
// The window's link to its object. A property rather than the user-data slot: controls bound
// from other code may use that slot themselves.
constexpr char kObjectProperty[] = "qv_TWindow";
constexpr int kTooltipMaxWidth = 0x7FFF;  // wide enough for any text; '\n' still breaks lines
}  // namespace

TWindow::TWindow()
{
    ToolkitPalette::Get();
}

TWindow::~TWindow()
{
    // Nothing may reach this half-destroyed object any more: unbind first, then let the
    // window go with the default processing only.
    HWND hwnd = handle;
    if (hwnd != nullptr) {
        // A thin wrapper never hears of its control's end: a handle whose window no longer
        // links here belongs to somebody else by now.
        const bool ours = GetPropA(hwnd, kObjectProperty) == this;
        if (ours) {
            RemovePropA(hwnd, kObjectProperty);
            Unsubclass();
        }
        savedProcedure = nullptr;
        handle = nullptr;
        if (ours)
            DestroyWindow(hwnd);
    }
    ReleaseWindow();
}

void TWindow::DestroyNativeWindow()
{
    CloseIfAlive();
    if (handle != nullptr && IsWindow(handle))
        DestroyWindow(handle);
    ReleaseWindow();
}

void TWindow::Bind(HWND hwnd)
{
    handle = hwnd;
    SetPropA(hwnd, kObjectProperty, this);
}

void TWindow::ReleaseWindow()
{
    if (tooltip != nullptr) {
        if (IsWindow(tooltip))
            DestroyWindow(tooltip);
        tooltip = nullptr;
    }
    if (font != nullptr) {
        DeleteObject(font);
        font = nullptr;
    }
    if (backgroundBrush != nullptr) {
        DeleteObject(backgroundBrush);
        backgroundBrush = nullptr;
    }
    if (handle != nullptr) {
        Unsubclass();
        if (GetPropA(handle, kObjectProperty) == this)
            RemovePropA(handle, kObjectProperty);
        handle = nullptr;
    }
}

TWindow* TWindow::FromHandle(HWND hwnd)
{
    if (hwnd == nullptr)
        return nullptr;
    return static_cast<TWindow*>(GetPropA(hwnd, kObjectProperty));
}

TWindow* TWindow::FindChild(HWND parent, HWND child)
{
    if (parent == nullptr || child == nullptr || !IsWindow(child) || !IsChild(parent, child))
        return nullptr;
    return FromHandle(child);
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

LRESULT TWindow::RouteDrawItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr)
        return kNotHandled;
    if (item->CtlType == ODT_MENU)
        return GMenu::DrawItem(item) ? TRUE : OnDrawItem(item);
    TWindow* control = FromHandle(item->hwndItem);
    if (control != nullptr && control != this)
        return control->OnDrawItem(item);
    return OnDrawItem(item);
}

LRESULT TWindow::RouteMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* item)
{
    if (item == nullptr)
        return kNotHandled;
    if (item->CtlType == ODT_MENU)
        return GMenu::MeasureItem(item) ? TRUE : OnMeasureItem(item);
    TWindow* control = FromHandle(GetDlgItem(hwnd, static_cast<int>(item->CtlID)));
    if (control != nullptr && control != this)
        return control->OnMeasureItem(item);
    return OnMeasureItem(item);
}

LRESULT TWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        ReleaseWindow();
        return kNotHandled;
    case WM_SIZE: return OnSize(LOWORD(lParam), HIWORD(lParam), static_cast<UINT>(wParam));
    case WM_ACTIVATE: return OnActivate(LOWORD(wParam), HIWORD(wParam) != 0, reinterpret_cast<HWND>(lParam));
    case WM_SETFOCUS: return OnSetFocus(reinterpret_cast<HWND>(wParam));
    case WM_KILLFOCUS: return OnKillFocus(reinterpret_cast<HWND>(wParam));
    case WM_ENABLE: return OnEnable(wParam != 0);
    case WM_PAINT: return OnPaint();
    case WM_CLOSE: return OnClose();
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SHOWWINDOW: return OnShowWindow(wParam != 0, static_cast<UINT>(lParam));
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_DRAWITEM: return RouteDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_MEASUREITEM: return RouteMeasureItem(hwnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_NOTIFY: return OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam));
    case WM_KEYUP: return OnKeyUp(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
    case WM_COMMAND: return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(hwnd, reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
    // Mouse positions are signed: a captured pointer left or above the window is negative.
    case WM_MOUSEMOVE: return OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN:
        return OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
    case WM_LBUTTONUP: return OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
    case WM_RBUTTONUP: return OnRButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
    case WM_CAPTURECHANGED: return OnCaptureChanged(reinterpret_cast<HWND>(lParam));
    default: return kNotHandled;
    }
}

bool TWindow::RegisterWindowClass(int iconId, HCURSOR cursorHandle, HBRUSH background,
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
    wc.hCursor = cursorHandle != nullptr ? cursorHandle : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background != nullptr ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK TWindow::SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE && FromHandle(hwnd) == nullptr) {
        auto* object = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (object != nullptr)
            object->Bind(hwnd);
    }
    TWindow* self = FromHandle(hwnd);
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = self->WindowProc(hwnd, message, wParam, lParam);
    if (message == WM_CREATE)
        return result;  // -1 refuses the creation
    if (message == WM_NCDESTROY && FromHandle(hwnd) == self)
        self->ReleaseWindow();  // an override swallowed WM_DESTROY
    if (result != kNotHandled)
        return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWindow* self = FromHandle(hwnd);
    if (self == nullptr || self->savedProcedure == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    // Copies: the handler may unsubclass (WM_DESTROY) or even delete the object.
    const WNDPROC own = self->savedProcedure;
    const SubclassRule rule = self->subclassRule;
    LRESULT result = self->WindowProc(hwnd, message, wParam, lParam);
    bool passOn = rule == SubclassRule::ZeroMeansHandled ? result != 0 : result == kNotHandled;
    if (passOn)
        return CallWindowProcA(own, hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool TWindow::BindControl(HWND control, SubclassRule rule)
{
    if (control == nullptr || !IsWindow(control))
        return false;
    TWindow* bound = FromHandle(control);
    if (bound != nullptr && bound != this)
        return false;
    if (handle != nullptr && handle != control)
        ReleaseWindow();
    Bind(control);
    return rule == SubclassRule::None || Subclass(rule);
}

bool TWindow::Subclass(SubclassRule rule)
{
    if (handle == nullptr || rule == SubclassRule::None)
        return false;
    subclassRule = rule;
    if (savedProcedure != nullptr)
        return true;
    savedProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::SubclassProc)));
    return savedProcedure != nullptr;
}

void TWindow::Unsubclass()
{
    if (savedProcedure == nullptr)
        return;
    if (handle != nullptr)
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure));
    savedProcedure = nullptr;
}

void TWindow::ReplaceFont(HFONT replacement)
{
    HFONT old = font;
    font = replacement;
    if (handle != nullptr)
        SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (old != nullptr)
        DeleteObject(old);
}

bool TWindow::SetFontByFace(const char* face, int tenthsOfPoint, int widthTenths, unsigned style, bool logicalScaling)
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    double pixelsPerInchX = GetDeviceCaps(screen, LOGPIXELSX);
    double pixelsPerInchY = GetDeviceCaps(screen, LOGPIXELSY);
    const int millimetresX = GetDeviceCaps(screen, HORZSIZE);
    const int millimetresY = GetDeviceCaps(screen, VERTSIZE);
    if (!logicalScaling && millimetresX > 0 && millimetresY > 0) {
        pixelsPerInchX = GetDeviceCaps(screen, HORZRES) * 25.4 / millimetresX;
        pixelsPerInchY = GetDeviceCaps(screen, VERTRES) * 25.4 / millimetresY;
    }
    ReleaseDC(nullptr, screen);

    LOGFONTA lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(tenthsOfPoint * pixelsPerInchY / 720.0));
    lf.lfWidth = static_cast<LONG>(std::lround(widthTenths * pixelsPerInchX / 720.0));
    lf.lfWeight = (style & kBold) != 0 ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & kItalic) != 0;
    lf.lfUnderline = (style & kUnderline) != 0;
    lf.lfStrikeOut = (style & kStrikeOut) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    if (face != nullptr)
        lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT created = CreateFontIndirectA(&lf);
    if (created == nullptr)
        return false;
    ReplaceFont(created);
    return true;
}

bool TWindow::CopyFont(HFONT source)
{
    LOGFONTA lf{};
    if (source == nullptr || GetObjectA(source, sizeof lf, &lf) == 0)
        return false;
    HFONT created = CreateFontIndirectA(&lf);
    if (created == nullptr)
        return false;
    ReplaceFont(created);
    return true;
}

HFONT TWindow::GetFont() const
{
    if (font != nullptr)
        return font;
    if (handle != nullptr) {
        if (auto own = reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0)))
            return own;
    }
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

HCURSOR TWindow::SetCursorById(LPCSTR id)
{
    cursor = LoadCursorA(nullptr, id);
    if (cursor != nullptr)
        SetCursor(cursor);
    return cursor;
}

void TWindow::SetBackgroundColour(COLORREF colour)
{
    HBRUSH old = backgroundBrush;
    backgroundBrush = CreateSolidBrush(colour);
    if (old != nullptr)
        DeleteObject(old);
}

GString TWindow::GetText() const
{
    GString text;
    if (handle == nullptr)
        return text;
    int length = GetWindowTextLengthA(handle);
    if (length <= 0)
        return text;
    char* buffer = new char[static_cast<size_t>(length) + 1];
    int got = GetWindowTextA(handle, buffer, length + 1);
    text.Assign(buffer, static_cast<uint32_t>(got > 0 ? got : 0));
    delete[] buffer;
    return text;
}

void TWindow::SetText(const GString& text)
{
    if (handle != nullptr)
        SetWindowTextA(handle, text.CStr());
}

namespace {
bool ModifyWord(HWND hwnd, int index, DWORD remove, DWORD add, UINT positionFlags)
{
    if (hwnd == nullptr)
        return false;
    const DWORD old = static_cast<DWORD>(GetWindowLongPtrA(hwnd, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return false;
    SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(changed));
    if (positionFlags != 0)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | positionFlags);
    return true;
}
}  // namespace

bool TWindow::ModifyStyle(DWORD remove, DWORD add, UINT positionFlags)
{
    return ModifyWord(handle, GWL_STYLE, remove, add, positionFlags);
}

bool TWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT positionFlags)
{
    return ModifyWord(handle, GWL_EXSTYLE, remove, add, positionFlags);
}

bool TWindow::AddTooltip(const char* text, const char* title)
{
    if (handle == nullptr)
        return false;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle;
    tool.uId = reinterpret_cast<UINT_PTR>(handle);
    tool.lpszText = const_cast<char*>(text != nullptr ? text : "");
    if (tooltip == nullptr) {
        tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        if (tooltip == nullptr)
            return false;
        SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
        if (!SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
            return false;
    } else {
        SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (title != nullptr)
        SendMessageA(tooltip, TTM_SETTITLEA, TTI_INFO, reinterpret_cast<LPARAM>(title));
    return true;
}

void TWindow::TooltipOnDemand() { AddTooltip(LPSTR_TEXTCALLBACKA); }

void TWindow::CloseIfAlive()
{
    if (handle != nullptr && IsWindow(handle))
        SendMessageA(handle, WM_CLOSE, 0, 0);
}

void TWindow::Invalidate(bool erase) const
{
    if (handle != nullptr)
        InvalidateRect(handle, nullptr, erase);
}

void TWindow::UpdateNow() const
{
    if (handle != nullptr)
        UpdateWindow(handle);
}

void TWindow::Focus() const
{
    if (handle != nullptr)
        SetFocus(handle);
}

HWND TWindow::Parent() const { return handle != nullptr ? GetParent(handle) : nullptr; }

TSize TWindow::OuterSize() const
{
    RECT r{};
    if (handle == nullptr || !GetWindowRect(handle, &r))
        return TSize();
    return TSize(r.right - r.left, r.bottom - r.top);
}
