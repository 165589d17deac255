// The contents of one phone file as a stream for the desktop. Nothing is read from the
// phone before the receiver's first Read; the file then comes over on the window's fetching
// thread while Read waits with the window's messages running, and each Read hands on what
// has arrived. A read that fails answers STG_E_READFAULT (never an early end of the file), and
// the file counts as delivered only when the receiver has had its last byte of a file the
// phone sent whole.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <memory>

#include "filemanager/FetchBuffer.h"
#include "filemanager/win/ComObject.h"

class ShellExchange;

class IFileManagerStream final : public ComObject<IStream, IID_IStream, IID_ISequentialStream> {
public:
    // Starts with one reference, for the file at index of the exchange.
    IFileManagerStream(std::shared_ptr<ShellExchange> exchange, size_t index);
    IFileManagerStream(const IFileManagerStream&) = delete;
    IFileManagerStream& operator=(const IFileManagerStream&) = delete;

    HRESULT STDMETHODCALLTYPE Read(void* out, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG count, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;

private:
    ~IFileManagerStream();
    // Waits, with the thread's messages running, until count bytes from position can be
    // had or the phone's answer is complete. False when the wait had to end otherwise (the
    // exchange was detached or the program is quitting).
    bool WaitForBytes(ULONG count);
    // Handles the waiting messages; false once a quit request came.
    bool PumpWaiting();
    HRESULT ReadArrived(void* out, ULONG count, ULONG* read);

    std::shared_ptr<ShellExchange> exchange;
    size_t index;
    std::shared_ptr<FetchBuffer> buffer;  // made by the first read
    HANDLE wake;                          // set by the fetching thread as bytes arrive
    uint32_t position = 0;
    bool failed = false;
};
