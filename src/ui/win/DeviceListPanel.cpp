#include "ui/win/DeviceListPanel.h"

#include "devices/TComm.h"
#include "resources/resource.h"

namespace {

// Image of a port kind in the button strips; -1 for a kind without one.
int PortImage(int32_t kind)
{
    switch (kind) {
    case TComm::kSerial: return 6;
    case TComm::kIrDA: return 8;
    case TComm::kBluetooth: return 10;
    default: return -1;
    }
}

}  // namespace

bool DeviceListPanel::Create(TWindow* mainWindow, const char* caption)
{
    if (!DockWindow::Create(mainWindow, caption))
        return false;
    Dock(kDockSideTop);
    return true;
}

Button* DeviceListPanel::AddDevice(TComm* port, const GString& name)
{
    auto* button = new Button();
    if (!button->Create(this, kButtonId, name.CStr(), name.CStr(), Button::kImageLeft | Button::kToggle)) {
        delete button;
        return nullptr;
    }
    const int image = PortImage(port->kind);
    if (image >= 0) {
        button->SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, image);
        button->SizeToContent();
    }
    button->userData = port;
    AddChild(button);
    return button;
}

Button* DeviceListPanel::Find(const TComm* port) const
{
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->userData == port)
            return static_cast<Button*>(it.CurrentItem());
    }
    return nullptr;
}

bool DeviceListPanel::Select(const TComm* port)
{
    Button* button = nullptr;
    if (port != nullptr)
        button = Find(port);
    else if (children.Count() > 0)
        button = static_cast<Button*>(children.Get(0));
    if (button == nullptr)
        return false;
    Check(button);
    return true;
}

TComm* DeviceListPanel::SelectedPort() const
{
    return selected != nullptr ? static_cast<TComm*>(selected->userData) : nullptr;
}

void DeviceListPanel::RemoveDevice(const TComm* port)
{
    if (Button* button = Find(port))
        RemoveChild(button);
}

void DeviceListPanel::RemoveChild(TWindow* child)
{
    if (child == selected)
        selected = nullptr;
    DockWindow::RemoveChild(child);
}

LRESULT DeviceListPanel::OnClose()
{
    selected = nullptr;
    return DockWindow::OnClose();
}

void DeviceListPanel::Check(Button* button)
{
    if (selected != nullptr && selected != button)
        selected->SetChecked(false);
    selected = button;
    if (selected != nullptr)
        selected->SetChecked(true);
}

LRESULT DeviceListPanel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        auto* button = dynamic_cast<Button*>(FindChild(hwnd, reinterpret_cast<HWND>(lParam)));
        if (button == nullptr || LOWORD(wParam) != kButtonId || HIWORD(wParam) != BN_CLICKED)
            return 0;
        if (button == selected) {
            // The click flipped its look; the phone stays selected.
            button->SetChecked(true);
            return 0;
        }
        Check(button);
        if (Owner() != nullptr)
            SendMessageA(Owner()->Handle(), QVM_SELECT_PORT, reinterpret_cast<WPARAM>(button->userData), 0);
        return 0;
    }
    case WM_RBUTTONUP: {
        // A device button passes its right click on with its handle; the button may be gone.
        TWindow* button = FindChild(hwnd, reinterpret_cast<HWND>(wParam));
        if (button != nullptr && button->userData != nullptr && Owner() != nullptr)
            SendMessageA(Owner()->Handle(), QVM_DEVICE_POPUP, reinterpret_cast<WPARAM>(button->userData), 0);
        return 0;
    }
    default:
        return DockWindow::WindowProc(hwnd, message, wParam, lParam);
    }
}
