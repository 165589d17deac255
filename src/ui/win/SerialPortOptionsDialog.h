// "Дополнительные настройки" of a serial port: speed, DTR and RTS, and the way back to the
// defaults. The dialog edits a copy of the port's settings; confirming hands the choice to
// whoever owns the port, and the dialog stays open when the line refused it.
#pragma once

#include "core/GString.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/DialogControls.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"
#include "ui/SerialLineOptions.h"

// Applies a confirmed choice to the port the dialog was opened for.
class SerialLineApplier {
public:
    virtual ~SerialLineApplier() = default;
    virtual LineOutcome Apply(const SerialLineChoice& choice) = 0;
};

class SerialPortOptionsDialog : public TDialog {
public:
    SerialPortOptionsDialog(const GString& portName, const SerialLineChoice& current, SerialLineApplier& applier);
    ~SerialPortOptionsDialog() override;

    // Runs the dialog modally; its end code.
    INT_PTR Run(TWindow* owner);

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    bool OnOK() override;

private:
    void ShowChoice(const SerialLineChoice& choice);
    void SetDefaultsButton(bool enabled);

    GString portName;
    SerialLineChoice current;
    SerialLineApplier& applier;
    StaticControl name;
    ComboBox speed;
    CheckBox dtr;
    CheckBox rts;
    Button defaults;
    Button ok;
    Button cancel;
};
