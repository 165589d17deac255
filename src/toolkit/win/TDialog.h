// Base of every dialog: modal or modeless from a named dialog template, with the object bound
// to the dialog window while it exists. OK (1) and Cancel (2, also Esc and the close box)
// close the dialog when OnOK/OnCancel allow it. Messages the dialog table does not take go
// through TWindow's dispatch, so a dialog gets OnNotify, OnSize and the rest as well.
//
// The object outlives its window and can be shown again; it may not be shown twice at once.
// A derived dialog whose handlers matter at closing calls DestroyNativeWindow() in its own
// destructor.
#pragma once

#include "toolkit/win/TWindow.h"

class TDialog : public TWindow {
public:
    TDialog() = default;

    LRESULT OnShowWindow(BOOL shown, UINT status) override;

    // Runs the dialog modally; its end code (1 OK, 2 Cancel or Close), -1 if it could not be
    // created.
    virtual INT_PTR DoModal(LPCSTR templateName, TWindow* parentWindow);
    // Creates the dialog modeless; its handle, null on failure.
    virtual HWND Create(LPCSTR templateName, TWindow* parentWindow);
    // Dispatcher of the dialog messages; answers whether the message was handled.
    virtual INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Modal: ends with code 2; modeless: destroys the window.
    virtual void Close();
    virtual bool OnOK();
    virtual bool OnCancel();
    virtual void OnMove(int x, int y);
    virtual void OnDialogDestroy();
    virtual INT_PTR OnTimer(HWND hwnd, UINT_PTR timerId);
    // True lets the system give the first control the focus.
    virtual INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM initParameter);

    bool IsModal() const { return modal; }
    TWindow* ParentWindow() const { return parent; }

    // Handles every message waiting in the calling thread's queue (this dialog's keyboard
    // messages as dialog messages), so that a long operation keeps the interface alive. A quit
    // request met on the way is posted again, so the main loop still ends.
    void PumpMessages();

    static INT_PTR CALLBACK SharedDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    TWindow* parent = nullptr;
    bool modal = false;

private:
    // Ends a modal dialog with the code or destroys a modeless one.
    void EndWith(INT_PTR code);
};
