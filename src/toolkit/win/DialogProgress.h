// The progress window of a worker thread (the port scan and the port closing): a modeless
// dialog from IDD_DIALOG_PROGRESS owned by a window. The worker only stores its text, range,
// steps and close request (from any thread); the dialog's 200 ms timer applies them, shows the
// dialog once its appearance delay ran out, and closes it on the first tick after Close.
//
// One object serves one thread after another (the scan, then the closing thread): opening it
// while the previous run's window still waits for its closing tick takes that window over for
// the new run, so no window is left behind and a visible one shows the new texts at once.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/GString.h"
#include "toolkit/ProgressHandOver.h"
#include "toolkit/win/ProgressControls.h"
#include "toolkit/win/TDialog.h"

class DialogProgress : public TDialog {
public:
    static constexpr UINT_PTR kTimerId = 10001;

    ~DialogProgress() override;

    // Window thread: creates the dialog for owner with the caption, centred on the screen.
    // With a delay it stays hidden until the delay ran out, otherwise it shows at once; both
    // times topmost. False without owner or when the dialog cannot be created.
    bool Open(TWindow* owner, const char* caption, uint32_t delaySeconds);

    // Any thread.
    void SetText(const GString& text) { state.SetText(text); }
    void SetRange(uint32_t low, uint32_t high) { state.SetRange(low, high); }
    void SetPosition(uint32_t value) { state.SetPosition(value); }
    void Step() { state.Step(); }
    bool IsCancelled() const { return state.IsCancelled(); }
    // The next tick closes the window.
    void Close() override { state.RequestClose(); }
    // The window exists and was not asked to close.
    bool IsOpen() const { return open.load() && !state.CloseRequested(); }

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    INT_PTR OnTimer(HWND hwnd, UINT_PTR timerId) override;
    // Cancel greys the button and marks the run cancelled; the worker closes the dialog.
    bool OnCancel() override;
    void OnDialogDestroy() override;

    ProgressControls controls;

private:
    ProgressHandOver state;
    std::atomic<bool> open{false};
};
