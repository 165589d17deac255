#include "filemanager/win/IFileManagerStream.h"

#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/ShellExchange.h"

IFileManagerStream::IFileManagerStream(std::shared_ptr<ShellExchange> shared, size_t item)
    : exchange(std::move(shared)), index(item), wake(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    exchange->StreamCreated(this);
}

IFileManagerStream::~IFileManagerStream()
{
    // The fetching thread must neither keep reading for nobody nor wake a closed event.
    if (buffer != nullptr)
        buffer->Abandon();
    if (wake != nullptr)
        CloseHandle(wake);
    exchange->StreamGone(this);
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Read(void* out, ULONG count, ULONG* read)
{
    if (read != nullptr)
        *read = 0;
    if (out == nullptr && count > 0)
        return E_INVALIDARG;
    if (count == 0)
        return S_FALSE;
    FileManagerWindow* window = exchange->Window();
    if (window == nullptr || failed || wake == nullptr)
        return STG_E_READFAULT;
    // Called from inside another read's wait: the phone is busy with that one.
    if (exchange->reading != nullptr)
        return E_PENDING;
    if (window->ShellCopyCancelled())
        return E_ABORT;
    if (buffer == nullptr) {
        auto fresh = std::make_shared<FetchBuffer>();
        HANDLE event = wake;
        fresh->SetListener([event] { SetEvent(event); });
        const HRESULT started = window->StartShellFetch(*exchange, index, fresh);
        if (started == STG_E_READFAULT)
            failed = true;
        if (started != S_OK)
            return started;
        buffer = std::move(fresh);
    }
    // Kept alive through the wait, whatever the receiver does meanwhile.
    AddRef();
    const HRESULT result = ReadArrived(out, count, read);
    Release();
    return result;
}

HRESULT IFileManagerStream::ReadArrived(void* out, ULONG count, ULONG* read)
{
    exchange->reading = this;
    const bool waited = WaitForBytes(count);
    exchange->reading = nullptr;
    FileManagerWindow* window = exchange->Window();
    const FetchBuffer::State state = buffer->CurrentState();
    if (window != nullptr && state != FetchBuffer::State::Fetching) {
        window->ShellFetchEnded(*exchange);
        // What was let go or went wrong during the wait is looked at now.
        exchange->NotifyWindow();
    }
    if (!waited || window == nullptr) {
        buffer->Abandon();
        failed = true;
        return STG_E_READFAULT;
    }
    if (window->ShellCopyCancelled())
        return E_ABORT;
    if (state == FetchBuffer::State::Failed) {
        failed = true;
        return STG_E_READFAULT;
    }
    const uint32_t taken = buffer->Take(position, static_cast<uint8_t*>(out), count);
    position += taken;
    if (read != nullptr)
        *read = taken;
    if (state == FetchBuffer::State::Whole && position == buffer->Size())
        exchange->files.MarkDelivered(index);
    return taken > 0 ? S_OK : S_FALSE;
}

bool IFileManagerStream::WaitForBytes(ULONG count)
{
    for (;;) {
        if (exchange->Window() == nullptr)
            return false;
        if (buffer->CurrentState() != FetchBuffer::State::Fetching || buffer->Readable(position) >= count)
            return true;
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 + 1 && !PumpWaiting())
            return false;
        if (woken == WAIT_FAILED)
            return false;
    }
}

bool IFileManagerStream::PumpWaiting()
{
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        FileManagerWindow* window = exchange->Window();
        // The progress dialog's keys work meanwhile, Esc for its Cancel too.
        HWND dialog = window != nullptr && window->progressDialog != nullptr ? window->progressDialog->Handle() : nullptr;
        if (dialog != nullptr && IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Write(const void*, ULONG, ULONG* written)
{
    if (written != nullptr)
        *written = 0;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER* position)
{
    if (position != nullptr)
        position->QuadPart = 0;
    return STG_E_INVALIDPOINTER;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::SetSize(ULARGE_INTEGER) { return STG_E_MEDIUMFULL; }

HRESULT STDMETHODCALLTYPE IFileManagerStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER* read,
                                                     ULARGE_INTEGER* written)
{
    if (read != nullptr)
        read->QuadPart = 0;
    if (written != nullptr)
        written->QuadPart = 0;
    return STG_E_MEDIUMFULL;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Commit(DWORD) { return S_OK; }

HRESULT STDMETHODCALLTYPE IFileManagerStream::Revert() { return S_OK; }

HRESULT STDMETHODCALLTYPE IFileManagerStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Stat(STATSTG* stat, DWORD)
{
    // The size is the descriptor's; a receiver reads to the end.
    if (stat != nullptr)
        *stat = STATSTG{};
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE IFileManagerStream::Clone(IStream** copy)
{
    if (copy != nullptr)
        *copy = nullptr;
    return E_NOTIMPL;
}
