#include "ui/win/ToolBarMain.h"

#include "resources/resource.h"
#include "toolkit/win/ImageBitmap.h"
#include "toolkit/win/SeparatorControl.h"

namespace {

struct ToolbarItem {
    int command;  // 0: a separator
    const char* tooltip;
    int image;    // in the strips
};

constexpr ToolbarItem kItems[] = {
    {IDM_PORTS, "Настройка портов", 0},
    {IDM_RESCAN, "Обновить/Пересканировать порты/устройства", 5},
    {0, nullptr, 0},
    {IDM_REFRESH, "Обновить", 6},
    {0, nullptr, 0},
    {IDM_COPY, "Копировать", 2},
    {IDM_PASTE, "Вставить", 3},
    {IDM_DELETE, "Удалить", 4},
};

constexpr int kImageSize = 24;
constexpr int kButtonSize = kImageSize + 6;

}  // namespace

ToolBarMain::~ToolBarMain()
{
    if (commandState != nullptr)
        commandState->Detach(this);
}

bool ToolBarMain::Create(TWindow* ownerWindow, CommandStateSubject* state)
{
    PixelImage strip;
    if (!LoadBitmapResource(IDB_TOOLBAR_NORMAL, strip))
        return false;
    if (!DockWindow::Create(ownerWindow, ""))
        return false;
    for (const ToolbarItem& item : kItems) {
        if (item.command == 0) {
            auto* separator = new SeparatorControl();
            if (separator->Create(this))
                AddChild(separator);
            else
                delete separator;
            continue;
        }
        auto* button = new Button();
        if (!button->Create(this, item.command, "", item.tooltip, 0)) {
            delete button;
            continue;
        }
        button->SetStripImages(IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_HOT, IDB_TOOLBAR_DISABLED, item.image);
        button->SetFixedSize(kButtonSize, kButtonSize);
        EnableWindow(button->Handle(), FALSE);
        AddChild(button);
    }
    Dock(kDockSideTop);
    commandState = state;
    if (commandState != nullptr) {
        commandState->Attach(this);
        Update(commandState);
    }
    return true;
}

void ToolBarMain::Update(Subject* subject)
{
    const auto* state = dynamic_cast<const CommandStateSubject*>(subject);
    if (state == nullptr)
        return;
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        HWND control = it.CurrentItem()->Handle();
        const int id = control != nullptr ? GetDlgCtrlID(control) : 0;
        if (id == 0)
            continue;
        const bool enabled = state->IsCommandEnabled(static_cast<uint32_t>(id));
        if ((IsWindowEnabled(control) != FALSE) != enabled)
            EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

Button* ToolBarMain::FindButton(int commandId) const
{
    for (ListIterator<TWindow> it(children); !it.IsDone(); it.Next()) {
        HWND control = it.CurrentItem()->Handle();
        if (control != nullptr && GetDlgCtrlID(control) == commandId)
            return dynamic_cast<Button*>(it.CurrentItem());
    }
    return nullptr;
}
