// The wait panel: a child dialog from IDD_DIALOG_WAIT inside another window (the file manager
// while it lists a folder, a port while it switches mode), with a text, a bar and Cancel. The
// worker only stores values (from any thread); the panel's 200 ms timer applies them, shows the
// panel centred in its parent once the delay ran out, and performs a close asked for from
// another thread (a worker cannot destroy a window of the interface thread).
#pragma once

#include <atomic>
#include <cstdint>

#include "core/GString.h"
#include "obex/Progress.h"
#include "toolkit/ProgressHandOver.h"
#include "toolkit/win/ProgressControls.h"
#include "toolkit/win/TDialog.h"

class DialogWait : public TDialog, public WaitProgress {
public:
    static constexpr UINT_PTR kTimerId = 10003;

    ~DialogWait() override;

    // Window thread: creates the panel in parent with the text; with a delay it stays hidden
    // until the delay ran out, otherwise it shows at once. False without parent or when the
    // panel cannot be created.
    bool Open(TWindow* parent, const char* text, uint32_t delaySeconds);

    // Any thread.
    void SetText(const GString& text) { state.SetText(text); }
    void SetRange(uint32_t low, uint32_t high) override { state.SetRange(low, high); }
    void Step() override { state.Step(); }
    bool IsCancelled() override { return state.IsCancelled(); }
    // On the panel's own thread the panel goes at once; from another thread at the next tick.
    void Close() override;
    bool IsOpen() const { return open.load() && !state.CloseRequested(); }

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    INT_PTR OnTimer(HWND hwnd, UINT_PTR timerId) override;
    // Cancel greys the button, marks the operation cancelled and lets the panel close.
    bool OnCancel() override;
    void OnDialogDestroy() override;
    LRESULT OnEraseBackground(HDC dc) override;

    ProgressControls controls;

private:
    void CentreInParent();

    ProgressHandOver state;
    std::atomic<bool> open{false};
    std::atomic<DWORD> windowThread{0};
};
