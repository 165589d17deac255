#include "ui/win/DeviceControlPanel.h"

#include "resources/resource.h"
#include "ui/MainWindowRules.h"

namespace {
constexpr int kExplorerWidth = 75;
constexpr int kExplorerHeight = 55;
}  // namespace

bool DeviceControlPanel::Create(TWindow* mainWindow)
{
    if (!DockWindow::Create(mainWindow, ""))
        return false;
    Dock(kDockSideLeft);
    return true;
}

bool DeviceControlPanel::AddExplorerButton()
{
    auto* button = new Button();
    if (!button->Create(this, IDM_EXPLORER, "Проводник", "Управление файлами и папками",
                        Button::kImageAbove | Button::kToggle)) {
        delete button;
        return false;
    }
    button->SetStripImages(IDB_EXPLORER_NORMAL, IDB_EXPLORER_HOT, 0, 0);
    button->SetFixedSize(kExplorerWidth, kExplorerHeight);
    AddChild(button);
    LayOut();
    return true;
}

int DeviceControlPanel::SelectedId() const
{
    return selected != nullptr ? GetDlgCtrlID(selected->Handle()) : 0;
}

Button* DeviceControlPanel::FindButton(int id) const
{
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        TWindow* child = it.CurrentItem();
        if (child->WindowKind() == kButton && child->Handle() != nullptr && GetDlgCtrlID(child->Handle()) == id)
            return static_cast<Button*>(child);
    }
    return nullptr;
}

LRESULT DeviceControlPanel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND)
        return DockWindow::WindowProc(hwnd, message, wParam, lParam);
    const bool fromControl = lParam != 0;
    // Of a button only the click is a command.
    if (fromControl && HIWORD(wParam) != BN_CLICKED)
        return 0;
    const int command = LOWORD(wParam);
    Button* target = FindButton(command);
    const PanelCommand answer = ControlPanelCommand(SelectedId(), command, fromControl, target != nullptr);
    selected = answer.selected != 0 ? target : nullptr;
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->WindowKind() == kButton)
            static_cast<Button*>(it.CurrentItem())->SetChecked(it.CurrentItem() == selected);
    }
    if (Owner() != nullptr)
        SendMessageA(Owner()->Handle(), QVM_SWITCH_VIEW, static_cast<WPARAM>(answer.sent), 0);
    return 0;
}
