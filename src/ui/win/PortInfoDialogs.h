// The information dialogs of the ports dialog: the list of every serial port, and the profiles
// an IrDA or Bluetooth device offers. Each works on copies taken when it is made, so no port is
// followed while it shows.
#pragma once

#include <vector>

#include "core/GString.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/ListBox.h"
#include "toolkit/win/ListView.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"

// "Список всех последовательных портов": one sorted line per port.
class SerialPortInfoDialog : public TDialog {
public:
    explicit SerialPortInfoDialog(std::vector<GString> lines);
    ~SerialPortInfoDialog() override;

    INT_PTR Run(TWindow* owner);
    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;

private:
    std::vector<GString> lines;
    ListBox list;
    Button ok;
    Button help;
};

// A profile row as shown: the profile's name and the string id of its description (0: none).
struct ProfileLine {
    GString profile;
    uint32_t descriptionId = 0;
};

// "Дополнительная информация по порту": the port's name and its profiles with their
// descriptions. The IrDA and the Bluetooth dialog differ only in their templates.
class ProfileListDialog : public TDialog {
public:
    ProfileListDialog(const char* templateName, const GString& portName, std::vector<ProfileLine> profiles);
    ~ProfileListDialog() override;

    INT_PTR Run(TWindow* owner);
    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;

private:
    const char* templateName;
    GString portName;
    std::vector<ProfileLine> profiles;
    StaticControl name;
    ListView list;
    Button ok;
    Button help;
};

class IrDAPortInfoDialog : public ProfileListDialog {
public:
    IrDAPortInfoDialog(const GString& portName, std::vector<ProfileLine> profiles)
        : ProfileListDialog("IDD_DIALOG_IRDA_PORT_INFO", portName, std::move(profiles))
    {
    }
};

class PortInfoDialog : public ProfileListDialog {
public:
    PortInfoDialog(const GString& portName, std::vector<ProfileLine> profiles)
        : ProfileListDialog("IDD_DIALOG_BTH_PORT_INFO", portName, std::move(profiles))
    {
    }
};
