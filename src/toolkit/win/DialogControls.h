// Thin wrappers of dialog check boxes and combo boxes, bound by control id. The controls keep
// their own drawing and messages.
#pragma once

#include "toolkit/win/TWindow.h"

class CheckBox : public TWindow {
public:
    CheckBox() { kind = kCheckBox; }
    bool Bind(HWND dialog, int id);
    void Check() { SetChecked(true); }
    void Uncheck() { SetChecked(false); }
    void SetChecked(bool on);
    bool IsChecked() const;
};

class ComboBox : public TWindow {
public:
    bool Bind(HWND dialog, int id);
    // Its index, -1 on failure.
    int AddString(const char* text);
    void Select(int index);
    // -1 when nothing is selected.
    int SelectedIndex() const;
};
