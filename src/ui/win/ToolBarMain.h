// The main window's toolbar: a dock panel at the top with the port, refresh and clipboard
// command buttons (pictures of the toolbar strips 45, 46, 47 in their normal, hot and disabled
// looks). It observes the command state: each notification enables the buttons whose command
// is enabled and greys the others.
#pragma once

#include "core/Subject.h"
#include "toolkit/win/Button.h"
#include "ui/win/DockWindow.h"

class ToolBarMain : public DockWindow, public Observer {
public:
    ~ToolBarMain() override;

    // Builds the bar for owner and docks it at the top; false (and no toolbar) when the
    // toolbar pictures cannot be loaded.
    bool Create(TWindow* owner, CommandStateSubject* state);
    void Update(Subject* subject) override;

    // The button of a command, or null.
    Button* FindButton(int commandId) const;

private:
    CommandStateSubject* commandState = nullptr;
};
