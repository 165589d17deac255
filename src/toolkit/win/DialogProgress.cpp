#include "toolkit/win/DialogProgress.h"

#include "toolkit/win/ScreenPlacementWin.h"
#include "toolkit/win/WindowPlacement.h"

DialogProgress::~DialogProgress() { DestroyNativeWindow(); }

bool DialogProgress::Open(TWindow* owner, const char* caption, uint32_t delaySeconds)
{
    if (owner == nullptr)
        return false;
    // A window of the previous run that has not met its closing tick yet is taken over by the
    // new run (a visible one stays up and shows the new texts at once); one of another owner
    // goes first.
    if (handle != nullptr && GetWindow(handle, GW_OWNER) != owner->Handle())
        TDialog::Close();
    if (handle != nullptr) {
        state.Reset(IsWindowVisible(handle) ? 0 : delaySeconds * 1000, 100);
        controls.Reset(100);
    } else {
        state.Reset(delaySeconds * 1000, 100);
        if (Create("IDD_DIALOG_PROGRESS", owner) == nullptr)
            return false;
        CentreOnScreen(handle);
        KeepWindowOnScreen(handle);
    }
    if (caption != nullptr)
        SetWindowTextA(handle, caption);
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
