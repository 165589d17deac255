// The companion a receiver asks the dragged data object for when it wants to take the phone's
// files after the drop, on its own time: the copy then ends with EndOperation, which also
// says whether the receiver moved the files.
#pragma once

#include <windows.h>
#include <shldisp.h>

#include <memory>

#include "filemanager/win/ComObject.h"

class ShellExchange;

class IFileManagerAsyncOperation final
    : public ComObject<IDataObjectAsyncCapability, IID_IDataObjectAsyncCapability> {
public:
    // Starts with one reference.
    explicit IFileManagerAsyncOperation(std::shared_ptr<ShellExchange> exchange);
    IFileManagerAsyncOperation(const IFileManagerAsyncOperation&) = delete;
    IFileManagerAsyncOperation& operator=(const IFileManagerAsyncOperation&) = delete;

    // True keeps the object alive (one reference on itself) until EndOperation.
    HRESULT STDMETHODCALLTYPE SetAsyncMode(BOOL async) override;
    HRESULT STDMETHODCALLTYPE GetAsyncMode(BOOL* async) override;
    HRESULT STDMETHODCALLTYPE StartOperation(IBindCtx* reserved) override;
    HRESULT STDMETHODCALLTYPE InOperation(BOOL* running) override;
    // Refused as busy while a read of the copy waits for the phone.
    HRESULT STDMETHODCALLTYPE EndOperation(HRESULT result, IBindCtx* reserved, DWORD effects) override;

    bool Running() const { return inOperation; }
    // The window lets the copy go: the reference SetAsyncMode took is given back (a receiver
    // still using the object holds its own).
    void GiveUp();

private:
    ~IFileManagerAsyncOperation() = default;

    std::shared_ptr<ShellExchange> exchange;
    bool asyncMode = false;
    bool selfHeld = false;
    bool inOperation = false;
};
