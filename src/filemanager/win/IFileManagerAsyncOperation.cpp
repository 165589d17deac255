#include "filemanager/win/IFileManagerAsyncOperation.h"

#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/ShellExchange.h"

IFileManagerAsyncOperation::IFileManagerAsyncOperation(std::shared_ptr<ShellExchange> shared)
    : exchange(std::move(shared))
{
}

HRESULT STDMETHODCALLTYPE IFileManagerAsyncOperation::SetAsyncMode(BOOL async)
{
    asyncMode = async != FALSE;
    if (asyncMode && !selfHeld) {
        selfHeld = true;
        AddRef();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IFileManagerAsyncOperation::GetAsyncMode(BOOL* async)
{
    if (async == nullptr)
        return E_INVALIDARG;
    *async = asyncMode ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IFileManagerAsyncOperation::StartOperation(IBindCtx*)
{
    inOperation = true;
    if (FileManagerWindow* window = exchange->Window())
        window->ShellOperationStarted();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IFileManagerAsyncOperation::InOperation(BOOL* running)
{
    if (running == nullptr)
        return E_INVALIDARG;
    *running = inOperation ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IFileManagerAsyncOperation::EndOperation(HRESULT result, IBindCtx*, DWORD effects)
{
    if (exchange->reading != nullptr)
        return E_PENDING;
    inOperation = false;
    // Kept until this call returns: the window lets its own reference go meanwhile.
    AddRef();
    if (FileManagerWindow* window = exchange->Window())
        window->ShellOperationEnded(result, effects);
    if (selfHeld) {
        selfHeld = false;
        Release();
    }
    Release();
    return S_OK;
}

void IFileManagerAsyncOperation::GiveUp()
{
    if (selfHeld) {
        selfHeld = false;
        Release();
    }
}
