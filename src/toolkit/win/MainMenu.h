// The main window's menu bar: MAINMENU with the help popup of MENUHELP appended at the right
// as "&Справка". It follows the command state: each notification enables or greys the
// commands whose state it carries.
#pragma once

#include "core/Subject.h"
#include "toolkit/win/GMenu.h"

class MainMenu : public GMenu, public Observer {
public:
    // Loads the bar and the help popup; Attach then makes it a window's menu.
    bool Create();
    void Update(Subject* subject) override;
};
