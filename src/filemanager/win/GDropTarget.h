// A window's drop target for OLE drag and drop. A COM object that lives by its reference
// count: made with one reference (its creator's), deleted when the last one goes, so a drag
// source or OLE still holding it after the window went calls into a live object. Register
// locks the object for OLE and registers it for the window; Revoke undoes both and forgets the
// window. While a drag is over the window the shell's drag-image helper is told of every step,
// so the dragged picture follows.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "filemanager/win/ComObject.h"

class GDropTarget : public ComObject<IDropTarget, IID_IDropTarget> {
public:
    GDropTarget() = default;
    GDropTarget(const GDropTarget&) = delete;
    GDropTarget& operator=(const GDropTarget&) = delete;

    // False when already registered or when OLE refuses (reported as a system error).
    bool Register(HWND window);
    // Leaves the window (a failure is reported); from then on no drag is accepted. Nothing when
    // not registered.
    void Revoke();
    bool IsRegistered() const { return registered; }

    // With Shift held a move, else a copy, each only when allowed; when that gives none, copy
    // if allowed, then move if allowed (move wins).
    static DWORD ChooseEffect(DWORD keys, DWORD allowed);

    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

protected:
    // Only Release deletes.
    virtual ~GDropTarget();

    // Whether this drag's data can be dropped here; asked when it enters.
    virtual bool CanAccept(IDataObject* data) { return false; }
    // The effect shown and reported for an accepted drag.
    virtual DWORD Effect(DWORD keys, DWORD allowed) { return ChooseEffect(keys, allowed); }
    // The drag entered and is accepted.
    virtual void Entered() {}
    // Takes the dropped data; false when nothing was taken (the source is told "none").
    virtual bool TakeDrop(IDataObject* data) { return false; }

    HWND window = nullptr;

private:
    IDropTargetHelper* dragImage = nullptr;
    bool accepting = false;
    bool registered = false;
};
