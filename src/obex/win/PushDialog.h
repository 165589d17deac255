// The push's progress in the file-operation dialog the uploads use, opened for the window
// that starts pushes.
#pragma once

#include "filemanager/win/DialogProgressFileOperation.h"
#include "obex/OBEX_Push.h"

class PushDialog : public PushProgress {
public:
    // settings keeps the dialog's position (not owned; null: none is kept).
    PushDialog(TWindow* owner, SettingsValues* settings) : dialog(settings), owner(owner) {}

    bool Open() override { return dialog.Open(owner); }
    void SetSourceText(const GString& text) override { dialog.SetSourceText(text); }
    void SetTargetText(const GString& text) override { dialog.SetTargetText(text); }
    void SetFileCounter(uint32_t number, uint32_t count) override
    {
        dialog.SetFileCounter(number, count);
    }
    void SetTotalSize(uint64_t size) override { dialog.SetTotalSize(size); }
    void RequestClose() override { dialog.RequestClose(); }
    bool IsCancelled() override { return dialog.IsCancelled(); }
    void SetFileSize(uint32_t size) override { dialog.SetFileSize(size); }
    void AddTransferred(uint32_t bytes) override { dialog.AddTransferred(bytes); }
    void PumpMessages() override { dialog.PumpMessages(); }

    // Window thread: a dialog still waiting for its closing tick goes now, while the settings
    // it saves its position into still exist.
    void CloseNow()
    {
        if (dialog.Handle() != nullptr)
            DestroyWindow(dialog.Handle());
    }

    DialogProgressFileOperation dialog;

private:
    TWindow* owner;
};
