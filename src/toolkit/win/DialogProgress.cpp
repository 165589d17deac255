#include "toolkit/win/DialogProgress.h"

#include "toolkit/win/WindowPlacement.h"

DialogProgress::~DialogProgress() { DestroyNativeWindow(); }

bool DialogProgress::Open(TWindow* owner, const char* caption, uint32_t delaySeconds)
{
    if (owner == nullptr)
        return false;
    // A window of the previous run that has not met its closing tick yet goes now; a new run
    // never takes it over.
    if (handle != nullptr)
        TDialog::Close();
    state.Reset(delaySeconds * 1000, 100);
    if (Create("IDD_DIALOG_PROGRESS", owner) == nullptr)
        return false;
    if (caption != nullptr)
        SetWindowTextA(handle, caption);
    CentreOnScreen(handle);
    open.store(true);
    if (!state.Waiting())
        SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return true;
}

INT_PTR DialogProgress::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    controls.Bind(hwnd, 100);
    SetTimer(hwnd, kTimerId, ProgressHandOver::kTickMs, nullptr);
    return TRUE;
}

INT_PTR DialogProgress::OnTimer(HWND, UINT_PTR timerId)
{
    if (timerId != kTimerId)
        return FALSE;
    const ProgressTick tick = state.TakeTick();
    if (tick.close) {
        TDialog::Close();
        return FALSE;
    }
    controls.Apply(tick);
    if (tick.appear)
        SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return FALSE;
}

bool DialogProgress::OnCancel()
{
    controls.DisableCancel();
    state.Cancel();
    return false;
}

void DialogProgress::OnDialogDestroy()
{
    open.store(false);
    KillTimer(handle, kTimerId);
}
