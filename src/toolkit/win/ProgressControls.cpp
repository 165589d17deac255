#include "toolkit/win/ProgressControls.h"

#include <commctrl.h>

#include "resources/resource.h"

void ProgressControls::Bind(HWND dialog, uint32_t rangeHigh)
{
    cancel.Bind(dialog, IDCANCEL);
    text.Bind(dialog, IDC_PROGRESS_TEXT);
    bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    Reset(rangeHigh);
}

void ProgressControls::Reset(uint32_t rangeHigh)
{
    text.SetLabel("");
    SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(rangeHigh));
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    if (cancel.Handle() != nullptr)
        EnableWindow(cancel.Handle(), TRUE);
}

void ProgressControls::Apply(const ProgressTick& tick)
{
    if (tick.textChanged) {
        text.SetLabel(tick.text.CStr());
        text.UpdateNow();
    }
    if (tick.rangeChanged)
        SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(tick.rangeLow), static_cast<LPARAM>(tick.rangeHigh));
    if (tick.valueChanged)
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(tick.value), 0);
}

void ProgressControls::DisableCancel()
{
    if (cancel.Handle() != nullptr)
        EnableWindow(cancel.Handle(), FALSE);
}
