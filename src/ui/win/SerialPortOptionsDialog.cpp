#include "ui/win/SerialPortOptionsDialog.h"

#include "resources/resource.h"

namespace {

constexpr int kOkPicture = 0;
constexpr int kCancelPicture = 1;

}  // namespace

SerialPortOptionsDialog::SerialPortOptionsDialog(const GString& portName, const SerialLineChoice& current,
                                                 SerialLineApplier& applier)
    : portName(portName), current(current), applier(applier)
{
}

SerialPortOptionsDialog::~SerialPortOptionsDialog() { DestroyNativeWindow(); }

INT_PTR SerialPortOptionsDialog::Run(TWindow* owner) { return DoModal("IDD_COM_PORT_OPTIONS", owner); }

INT_PTR SerialPortOptionsDialog::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    name.Bind(hwnd, IDC_PORT_NAME);
    name.SetFontStyle(TWindow::kBold);
    name.SetLabel(portName.CStr());
    speed.Bind(hwnd, IDC_LINE_SPEED);
    for (uint32_t rate : kLineSpeeds) {
        GString text;
        text.Append(rate);
        speed.AddString(text.CStr());
    }
    dtr.Bind(hwnd, IDC_LINE_DTR);
    rts.Bind(hwnd, IDC_LINE_RTS);
    defaults.Bind(hwnd, IDC_LINE_DEFAULTS);
    ok.Bind(hwnd, IDOK);
    ok.SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, kOkPicture);
    cancel.Bind(hwnd, IDCANCEL);
    cancel.SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, kCancelPicture);
    ShowChoice(current);
    SetDefaultsButton(!current.useDefaults);
    return TRUE;
}

void SerialPortOptionsDialog::ShowChoice(const SerialLineChoice& choice)
{
    speed.Select(LineSpeedIndex(choice.baudRate));
    dtr.SetChecked(choice.dtr);
    rts.SetChecked(choice.rts);
}

void SerialPortOptionsDialog::SetDefaultsButton(bool enabled)
{
    // A disabled button cannot keep the focus: the speed list takes it.
    if (!enabled && GetFocus() == defaults.Handle())
        speed.Focus();
    EnableWindow(defaults.Handle(), enabled);
}

LRESULT SerialPortOptionsDialog::OnCommand(int notifyCode, int id, HWND)
{
    if ((id == IDC_LINE_SPEED && notifyCode == CBN_SELCHANGE) ||
        ((id == IDC_LINE_DTR || id == IDC_LINE_RTS) && notifyCode == BN_CLICKED)) {
        SetDefaultsButton(true);
        return 0;
    }
    if (id == IDC_LINE_DEFAULTS && notifyCode == BN_CLICKED) {
        ShowChoice(SerialLineChoice());
        SetDefaultsButton(false);
        return 0;
    }
    return kNotHandled;
}

bool SerialPortOptionsDialog::OnOK()
{
    SerialLineChoice choice;
    if (IsWindowEnabled(defaults.Handle())) {
        choice.baudRate = LineSpeedAt(speed.SelectedIndex());
        choice.dtr = dtr.IsChecked();
        choice.rts = rts.IsChecked();
        choice.useDefaults = false;
    }
    return applier.Apply(choice) != LineOutcome::Refused;
}
