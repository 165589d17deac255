#include "filemanager/win/DialogProgressFileOperation.h"

#include <commctrl.h>

#include <initializer_list>

#include "core/Clock.h"
#include "core/Settings.h"
#include "resources/resource.h"
#include "toolkit/win/ScreenPlacementWin.h"

namespace {

void SetBar(HWND dialog, int id, uint32_t percent)
{
    SendDlgItemMessageA(dialog, id, PBM_SETPOS, percent, 0);
}

void SetChangedText(HWND dialog, int id, const TextChange& change)
{
    if (change.changed)
        SetDlgItemTextA(dialog, id, change.text.CStr());
}

}  // namespace

DialogProgressFileOperation::DialogProgressFileOperation(SettingsValues* values) : settings(values) {}

DialogProgressFileOperation::~DialogProgressFileOperation() { DestroyNativeWindow(); }

bool DialogProgressFileOperation::Open(TWindow* owner)
{
    if (owner == nullptr)
        return false;
    if (handle != nullptr) {
        if (!meter.CloseRequested()) {
            // Still showing an operation that did not ask to close: the new one takes it over.
            StartOperation();
            return true;
        }
        TDialog::Close();
    }
    return Create("IDD_FILEOPERATION", owner) != nullptr;
}

void DialogProgressFileOperation::StartOperation()
{
    meter.Reset(NowMs());
    for (int id : {IDC_FILEOP_FILE_BAR, IDC_FILEOP_TOTAL_BAR}) {
        SendDlgItemMessageA(handle, id, PBM_SETRANGE32, 0, 100);
        SetBar(handle, id, 0);
    }
    SetDlgItemTextA(handle, IDC_FILEOP_SOURCE, "");
    SetDlgItemTextA(handle, IDC_FILEOP_TARGET, "");
    SetDlgItemTextA(handle, IDC_FILEOP_COUNTER, "-/-");
    SetDlgItemTextA(handle, IDC_FILEOP_SPEED, "");
    SetDlgItemTextA(handle, IDC_FILEOP_TOTAL, "---");
    SetDlgItemTextA(handle, IDC_FILEOP_TIME_LEFT, "");
    EnableWindow(cancel.Handle(), TRUE);
}

INT_PTR DialogProgressFileOperation::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    cancel.Bind(hwnd, IDCANCEL);
    StartOperation();
    windowThread.store(GetCurrentThreadId());
    open.store(true);
    SetTimer(hwnd, kTimerId, 200, nullptr);
    PlaceFromSettings();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return TRUE;
}

void DialogProgressFileOperation::PlaceFromSettings()
{
    if (settings != nullptr)
        SetWindowPos(handle, nullptr, settings->progressX, settings->progressY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The first position ever (10000, 0) and one saved on a larger screen lie off it, where
    // Cancel could not be reached.
    KeepWindowOnScreen(handle);
}

INT_PTR DialogProgressFileOperation::OnTimer(HWND, UINT_PTR timerId)
{
    if (timerId != kTimerId)
        return FALSE;
    const TransferUpdate update = meter.Tick(NowMs());
    if (update.close) {
        TDialog::Close();
        return FALSE;
    }
    Apply(update);
    return FALSE;
}

void DialogProgressFileOperation::Apply(const TransferUpdate& update)
{
    if (update.filePercentChanged)
        SetBar(handle, IDC_FILEOP_FILE_BAR, update.filePercent);
    SetChangedText(handle, IDC_FILEOP_TIME_LEFT, update.timeLeft);
    if (update.totalPercentChanged)
        SetBar(handle, IDC_FILEOP_TOTAL_BAR, update.totalPercent);
    SetChangedText(handle, IDC_FILEOP_SOURCE, update.source);
    SetChangedText(handle, IDC_FILEOP_TARGET, update.target);
    SetChangedText(handle, IDC_FILEOP_SPEED, update.speed);
    SetChangedText(handle, IDC_FILEOP_COUNTER, update.counter);
    SetChangedText(handle, IDC_FILEOP_TOTAL, update.total);
}

bool DialogProgressFileOperation::OnCancel()
{
    meter.Cancel();
    EnableWindow(cancel.Handle(), FALSE);
    return false;
}

void DialogProgressFileOperation::OnDialogDestroy()
{
    open.store(false);
    KillTimer(handle, kTimerId);
    RECT r{};
    if (settings != nullptr && GetWindowRect(handle, &r)) {
        settings->progressX = r.left;
        settings->progressY = r.top;
    }
}

void DialogProgressFileOperation::PumpMessages()
{
    if (GetCurrentThreadId() == windowThread.load()) {
        TDialog::PumpMessages();
        return;
    }
    // A worker's own queue: no window of this dialog is among its messages.
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
