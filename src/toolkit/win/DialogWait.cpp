#include "toolkit/win/DialogWait.h"

#include "toolkit/win/ToolkitPalette.h"

DialogWait::~DialogWait() { DestroyNativeWindow(); }

bool DialogWait::Open(TWindow* parentWindow, const char* text, uint32_t delaySeconds)
{
    if (parentWindow == nullptr)
        return false;
    if (handle != nullptr)
        TDialog::Close();
    state.Reset(delaySeconds * 1000, 100);
    if (Create("IDD_DIALOG_WAIT", parentWindow) == nullptr)
        return false;
    controls.text.SetLabel(text);
    windowThread.store(GetCurrentThreadId());
    open.store(true);
    if (!state.Waiting())
        CentreInParent();
    return true;
}

void DialogWait::Close()
{
    state.RequestClose();
    if (GetCurrentThreadId() == windowThread.load() && handle != nullptr)
        TDialog::Close();
}

INT_PTR DialogWait::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    controls.Bind(hwnd, 100);
    controls.text.SetBackgroundColour(GetSysColor(COLOR_INFOBK));
    controls.text.SetTextColour(GetSysColor(COLOR_INFOTEXT));
    SetTimer(hwnd, kTimerId, ProgressHandOver::kTickMs, nullptr);
    return TRUE;
}

void DialogWait::CentreInParent()
{
    HWND parentHandle = GetParent(handle);
    RECT client{};
    RECT own{};
    if (parentHandle == nullptr || !GetClientRect(parentHandle, &client) || !GetWindowRect(handle, &own))
        return;
    int x = (client.right - client.left) / 2 - (own.right - own.left) / 2;
    int y = (client.bottom - client.top) / 2 - (own.bottom - own.top) / 2;
    SetWindowPos(handle, HWND_TOP, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

INT_PTR DialogWait::OnTimer(HWND, UINT_PTR timerId)
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
        CentreInParent();
    return FALSE;
}

bool DialogWait::OnCancel()
{
    controls.DisableCancel();
    state.Cancel();
    return true;
}

void DialogWait::OnDialogDestroy()
{
    open.store(false);
    KillTimer(handle, kTimerId);
}

LRESULT DialogWait::OnEraseBackground(HDC dc)
{
    RECT client{};
    GetClientRect(handle, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    HBRUSH frame = CreateSolidBrush(ToolkitPalette::Get().Colours().highlight);
    FrameRect(dc, &client, frame);
    DeleteObject(frame);
    return 1;
}
