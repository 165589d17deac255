// The progress dialog of a file transfer (IDD_FILEOPERATION): source and target, file n of m,
// the current file's and the whole operation's bars, speed, time left, the total, Cancel.
// Producers on any thread only store values (TransferMeter); the dialog's 200 ms timer shows
// what changed. The file-access code reports into it through OperationProgress.
//
// The dialog opens where it was last closed (progressX, progressY of the settings), kept on
// the screen. The object is reused for every operation: opening it while the previous window
// still waits for its closing tick finishes that window first.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/GString.h"
#include "filemanager/TransferMeter.h"
#include "obex/Progress.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/TDialog.h"

struct SettingsValues;

class DialogProgressFileOperation : public TDialog, public OperationProgress {
public:
    static constexpr UINT_PTR kTimerId = 10001;

    // The position is read from and saved to settings (not owned; null: none is kept).
    explicit DialogProgressFileOperation(SettingsValues* settings);
    ~DialogProgressFileOperation() override;

    // Window thread: opens the dialog for owner with both bars at 0. False without owner or
    // when the dialog cannot be created; the operation then runs without it.
    bool Open(TWindow* owner);

    // Any thread.
    void SetSourceText(const GString& text) { meter.SetSourceText(text); }
    void SetTargetText(const GString& text) { meter.SetTargetText(text); }
    void SetFileCounter(uint32_t number, uint32_t count) { meter.SetFileCounter(number, count); }
    void SetTotalSize(uint64_t size) { meter.SetTotalSize(size); }
    // The next tick closes the dialog.
    void RequestClose() { meter.RequestClose(); }
    void Close() override { RequestClose(); }
    bool IsOpen() const { return open.load() && !meter.CloseRequested(); }

    // OperationProgress, called by the file-access code during GetFile and PutFile.
    bool IsCancelled() override { return meter.IsCancelled(); }
    void SetFileSize(uint32_t size) override { meter.SetFileSize(size); }
    void AddTransferred(uint32_t bytes) override { meter.AddTransferred(bytes); }
    // Handles the calling thread's waiting messages (on the dialog's own thread its keys work
    // as dialog keys, so Cancel stays within reach during a transfer there).
    void PumpMessages() override;

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    INT_PTR OnTimer(HWND hwnd, UINT_PTR timerId) override;
    // Cancel (button, Esc, close box) greys the button; the operation closes the dialog.
    bool OnCancel() override;
    void OnDialogDestroy() override;

    Button cancel;

private:
    void StartOperation();
    void Apply(const TransferUpdate& update);
    void PlaceFromSettings();

    SettingsValues* settings;
    TransferMeter meter;
    std::atomic<bool> open{false};
    std::atomic<DWORD> windowThread{0};
};
