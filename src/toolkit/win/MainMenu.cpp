#include "toolkit/win/MainMenu.h"

#include "resources/resource.h"

namespace {
// The commands whose enabling follows the command state; 401 and 402 always answer enabled.
constexpr UINT kFollowedCommands[] = {IDM_REFRESH,  IDM_CUT,     IDM_COPY,        IDM_PASTE,
                                      IDM_DELETE,   IDM_RENAME,  IDM_SELECT_ALL,  IDM_EXPLORER,
                                      IDM_INFORMATION, IDM_VIEW_LARGE_ICONS, IDM_VIEW_SMALL_ICONS,
                                      IDM_VIEW_LIST, IDM_VIEW_DETAILS, IDM_PORTS, IDM_RESCAN};
}  // namespace

bool MainMenu::Create()
{
    if (!Load("MAINMENU"))
        return false;
    HMENU help = LoadMenuA(GetModuleHandleA(nullptr), "MENUHELP");
    HMENU popup = help != nullptr ? GetSubMenu(help, 0) : nullptr;
    if (popup == nullptr) {
        if (help != nullptr)
            DestroyMenu(help);
        return true;  // the bar works without help
    }
    // The popup moves to the bar: taken out of its own resource menu before that one goes.
    RemoveMenu(help, 0, MF_BYPOSITION);
    DestroyMenu(help);
    if (!AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), "&Справка")) {
        DestroyMenu(popup);
        return true;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_STRING | MFT_RIGHTJUSTIFY;
    SetMenuItemInfoA(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE, &info);
    return true;
}

void MainMenu::Update(Subject* subject)
{
    const auto* state = dynamic_cast<const CommandStateSubject*>(subject);
    if (state == nullptr)
        return;
    for (UINT id : kFollowedCommands)
        Enable(id, state->IsCommandEnabled(id));
}
