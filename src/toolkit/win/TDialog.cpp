#include "toolkit/win/TDialog.h"

LRESULT TDialog::OnShowWindow(BOOL, UINT) { return 1; }
bool TDialog::OnOK() { return true; }
bool TDialog::OnCancel() { return true; }
void TDialog::OnMove(int, int) {}
void TDialog::OnDialogDestroy() {}
INT_PTR TDialog::OnTimer(HWND, UINT_PTR) { return TRUE; }
INT_PTR TDialog::OnInitDialog(HWND, HWND, LPARAM) { return TRUE; }

INT_PTR TDialog::DoModal(LPCSTR templateName, TWindow* parentWindow)
{
    if (handle != nullptr)
        return -1;
    modal = true;
    parent = parentWindow;
    return DialogBoxParamA(GetModuleHandleA(nullptr), templateName,
                           parentWindow != nullptr ? parentWindow->Handle() : nullptr, SharedDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND TDialog::Create(LPCSTR templateName, TWindow* parentWindow)
{
    if (handle != nullptr)
        return nullptr;
    modal = false;
    parent = parentWindow;
    return CreateDialogParamA(GetModuleHandleA(nullptr), templateName,
                              parentWindow != nullptr ? parentWindow->Handle() : nullptr, SharedDialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void TDialog::EndWith(INT_PTR code)
{
    if (handle == nullptr)
        return;
    if (modal)
        EndDialog(handle, code);
    else
        DestroyWindow(handle);
}

void TDialog::Close() { EndWith(IDCANCEL); }

INT_PTR CALLBACK TDialog::SharedDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TDialog*>(lParam);
        if (self == nullptr)
            return TRUE;
        self->Bind(hwnd);
        return self->OnInitDialog(hwnd, reinterpret_cast<HWND>(wParam), lParam) != 0;
    }
    auto* self = dynamic_cast<TDialog*>(FromHandle(hwnd));
    if (self == nullptr || self->handle != hwnd)
        return FALSE;
    return self->DialogProc(hwnd, message, wParam, lParam);
}

INT_PTR TDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDialogDestroy();
        ReleaseWindow();
        return FALSE;
    case WM_MOVE:
        OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return FALSE;
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam)) != 0;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0, static_cast<UINT>(lParam));
        return FALSE;
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
        LRESULT result = TWindow::WindowProc(hwnd, message, wParam, lParam);
        return result != kNotHandled && result != 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (!OnOK())
                return FALSE;
            EndWith(IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            if (OnCancel())
                EndWith(IDCANCEL);
            return TRUE;
        }
        return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)) != kNotHandled;
    case WM_TIMER: return OnTimer(hwnd, static_cast<UINT_PTR>(wParam));
    default: {
        LRESULT result = TWindow::WindowProc(hwnd, message, wParam, lParam);
        if (result == kNotHandled)
            return FALSE;
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    }
}

void TDialog::PumpMessages()
{
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The peek took the quit request off the queue; without it the main loop would
            // never end.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (handle != nullptr && IsDialogMessageA(handle, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
