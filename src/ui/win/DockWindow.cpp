#include "ui/win/DockWindow.h"

#include <vssym32.h>

#include <algorithm>

#include "toolkit/win/SeparatorControl.h"
#include "toolkit/win/Theme.h"

namespace {

std::vector<DockWindow*>& Registered()
{
    static std::vector<DockWindow*> panels;
    return panels;
}

constexpr int kFloatingSize = 32;
constexpr int kFloatingStart = 200;
constexpr int kFloatingStep = 20;

}  // namespace

DockWindow::DockWindow() = default;

DockWindow::~DockWindow()
{
    DestroyNativeWindow();
    DeleteChildren();
    Unregister();
}

const std::vector<DockWindow*>& DockWindow::Panels() { return Registered(); }

void DockWindow::Unregister()
{
    auto& panels = Registered();
    panels.erase(std::remove(panels.begin(), panels.end(), this), panels.end());
}

void DockWindow::DeleteChildren() { children.DeleteAll(); }

bool DockWindow::Create(TWindow* ownerWindow, const char* caption)
{
    if (ownerWindow == nullptr || ownerWindow->Handle() == nullptr || handle != nullptr)
        return false;
    if (!RegisterWindowClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), kClassName, 0))
        return false;
    owner = ownerWindow;
    const int offset = kFloatingStart + kFloatingStep * static_cast<int>(Registered().size());
    floating = RECT{offset, offset, offset + kFloatingSize, offset + kFloatingSize};
    const DWORD windowStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
    CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, caption != nullptr ? caption : "", windowStyle, offset, offset,
                    kFloatingSize, kFloatingSize, owner->Handle(), nullptr, GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    Registered().push_back(this);
    return true;
}

void DockWindow::Dock(uint32_t newSide)
{
    if (handle == nullptr)
        return;
    side = newSide;
    if (!docked) {
        // A child of the owner from now on, without the floating window's frame.
        ModifyStyle(WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_CHILD);
        ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
        SetParent(handle, owner->Handle());
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        docked = true;
    }
    style = (style & ~(kDockEdges | kDockSides)) | side | DockEdgesForSide(side);
    LayOut();
}

void DockWindow::SetEdges(uint32_t edges)
{
    style = (style & ~kDockEdges) | (edges & kDockEdges);
    LayOut();
}

void DockWindow::LayOut()
{
    if (handle == nullptr)
        return;
    std::vector<BarChild> sizes;
    std::vector<TWindow*> windows;
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        TWindow* child = it.CurrentItem();
        BarChild entry;
        entry.separator = child->WindowKind() == TWindow::kSeparator;
        entry.size = child->OuterSize();
        sizes.push_back(entry);
        windows.push_back(child);
    }
    const BarLayout layout = LayOutBar(style, side, sizes);
    for (size_t i = 0; i < windows.size(); ++i) {
        if (auto* separator = dynamic_cast<SeparatorControl*>(windows[i]))
            separator->SetVertical(layout.separatorsVertical);
        const TRect& r = layout.children[i];
        SetWindowPos(windows[i]->Handle(), nullptr, r.left, r.top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    barSize = IsHorizontalSide(side) ? TSize(0, layout.across) : TSize(layout.across, 0);
    if (docked && owner != nullptr && owner->Handle() != nullptr) {
        RECT ownerClient{};
        GetClientRect(owner->Handle(), &ownerClient);
        SendMessageA(owner->Handle(), WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(ownerClient.right - ownerClient.left, ownerClient.bottom - ownerClient.top));
    }
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void DockWindow::AddChild(TWindow* child)
{
    if (child != nullptr)
        children.Append(child);
}

void DockWindow::RemoveChild(TWindow* child)
{
    bool found = false;
    for (ListIterator<TWindow> it(children); !it.IsDone() && !found; it.Next())
        found = it.CurrentItem() == child;
    if (!found)
        return;
    children.Remove(child);
    delete child;
    LayOut();
}

LRESULT DockWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        // Of a button only the click is a command: its focus notifications carry the same id
        // and would run the command again.
        const TWindow* control = FindChild(hwnd, reinterpret_cast<HWND>(lParam));
        if (control != nullptr && control->WindowKind() == kButton && HIWORD(wParam) != BN_CLICKED)
            return 0;
        [[fallthrough]];
    }
    case WM_NOTIFY:
        // The controls' commands are the owner's (toolbar buttons reach the main window).
        if (owner != nullptr && owner->Handle() != nullptr)
            return SendMessageA(owner->Handle(), message, wParam, lParam);
        break;
    case WM_NCHITTEST:
        // A floating panel is dragged by its whole face. A docked one must not be: the
        // default processing would move it inside the owner.
        if (!docked) {
            LRESULT hit = DefWindowProcA(hwnd, message, wParam, lParam);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        break;
    default:
        break;
    }
    return TWindow::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT DockWindow::OnEraseBackground(HDC dc)
{
    RECT r{};
    GetClientRect(handle, &r);
    UINT edges = 0;
    if ((style & kDockEdgeTop) != 0)
        edges |= BF_TOP;
    if ((style & kDockEdgeBottom) != 0)
        edges |= BF_BOTTOM;
    if ((style & kDockEdgeLeft) != 0)
        edges |= BF_LEFT;
    if ((style & kDockEdgeRight) != 0)
        edges |= BF_RIGHT;
    ThemeHandle theme(handle, L"REBAR");
    if (theme) {
        const ThemeApi& api = ThemeApi::Get();
        api.DrawThemeBackground(theme.Get(), dc, 0, 0, &r, nullptr);
        if (edges != 0)
            api.DrawThemeEdge(theme.Get(), dc, 0, 0, &r, EDGE_ETCHED, edges, nullptr);
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (edges != 0)
            DrawEdge(dc, &r, EDGE_ETCHED, edges);
    }
    return 1;
}

LRESULT DockWindow::OnSize(int width, int height, UINT)
{
    const int oldAcross = IsHorizontalSide(side) ? client.bottom - client.top : client.right - client.left;
    const int newAcross = IsHorizontalSide(side) ? height : width;
    client = RECT{0, 0, width, height};
    if (oldAcross != newAcross)
        InvalidateRect(handle, nullptr, TRUE);
    return kNotHandled;
}

LRESULT DockWindow::OnClose()
{
    DeleteChildren();
    Unregister();
    return kNotHandled;
}
