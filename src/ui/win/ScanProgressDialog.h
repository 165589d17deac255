// The progress window of the port threads: the discovery cycle and then the closing thread
// report through ScanProgress into one DialogProgress, which the main window shows when a
// thread asks for it (QVM_SHOW_PROGRESS).
#pragma once

#include "discovery/ScanProgress.h"
#include "toolkit/win/DialogProgress.h"

class ScanProgressDialog : public ScanProgress {
public:
    static constexpr uint32_t kDelaySeconds = 1;

    // Window thread: shows the dialog for owner with the connection caption; it appears only
    // when the run lasts longer than the delay.
    bool Show(TWindow* owner);
    DialogProgress& Dialog() { return dialog; }

    void SetPosition(uint32_t position) override { dialog.SetPosition(position); }
    void SetRange(uint32_t low, uint32_t high) override { dialog.SetRange(low, high); }
    void Step() override { dialog.Step(); }
    bool IsCancelled() override { return dialog.IsCancelled(); }
    void SetText(const GString& text) override { dialog.SetText(text); }
    bool IsShown() override { return dialog.IsOpen(); }
    void Close() override { dialog.Close(); }

private:
    DialogProgress dialog;
};
