#include "transport/win/SocketSerial.h"

#include "core/MessageReporter.h"
#include "devices/TSerialPort.h"

namespace {

constexpr uint32_t kOpenErrorPrefix = 1001;  // "Ошибка открытия:"

bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

}  // namespace

SocketSerial::SocketSerial(TComm* port, int32_t channel) : Socket(port, channel) {}

SocketSerial::~SocketSerial() { Close(); }

bool SocketSerial::IsOpen() { return Valid(handle); }

HANDLE SocketSerial::OpenLine()
{
    auto open = [](const char* name) {
        return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    };
    const GString& name = port->portName;
    HANDLE h = INVALID_HANDLE_VALUE;
    if (!name.IsEmpty()) {
        h = open(name.CStr());
        // COM10 and above open only in the device namespace.
        if (!Valid(h) && name.Find("\\\\.\\") != 1) {
            GString device("\\\\.\\");
            device.Append(name);
            h = open(device.CStr());
        }
    }
    if (!Valid(h) && !port->devicePath.IsEmpty())
        h = open(port->devicePath.CStr());
    return h;
}

bool SocketSerial::Open()
{
    if (Valid(handle))
        return true;
    if (port == nullptr)
        return false;
    handle = OpenLine();
    if (!Valid(handle)) {
        DWORD error = GetLastError();
        handle = nullptr;
        MessageArgs args;
        args.prefixId = kOpenErrorPrefix;
        args.text = port->displayName.CStr();
        Reporter().Report(MessageKind::SystemError, error, args);
        return false;
    }
    SetPortOpen(true);
    // The events exist before the line is configured, so that Close after a failed
    // configuration releases only what was made.
    readOverlapped = OVERLAPPED{};
    writeOverlapped = OVERLAPPED{};
    readOverlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    writeOverlapped.hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (readOverlapped.hEvent == nullptr || writeOverlapped.hEvent == nullptr ||
        !ConfigureOpenLine()) {
        Close();
        return false;
    }
    return true;
}

bool SocketSerial::Configure()
{
    if (Valid(handle))
        return ConfigureOpenLine();
    bool opened = Open();
    Close();
    return opened;
}

bool SocketSerial::ConfigureOpenLine()
{
    TSerialPort* serial = static_cast<TSerialPort*>(port);
    PurgeComm(handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    dcb = DCB{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(handle, &dcb);
    dcb.BaudRate = serial->baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fAbortOnError = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 2048;
    if (!SetCommState(handle, &dcb)) {
        Reporter().Report(MessageKind::SystemError, GetLastError());
        return false;
    }
    SetCommMask(handle, eventMask);
    // A read waits up to kReadWaitMs for its bytes; Read asks only for what is queued, or for
    // one byte when nothing is, so it never waits while bytes are there.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    if (!SetCommTimeouts(handle, &timeouts))
        return false;
    serial->commTimeouts.readIntervalTimeout = timeouts.ReadIntervalTimeout;
    serial->commTimeouts.readTotalTimeoutMultiplier = timeouts.ReadTotalTimeoutMultiplier;
    serial->commTimeouts.readTotalTimeoutConstant = timeouts.ReadTotalTimeoutConstant;
    serial->commTimeouts.writeTotalTimeoutMultiplier = timeouts.WriteTotalTimeoutMultiplier;
    serial->commTimeouts.writeTotalTimeoutConstant = timeouts.WriteTotalTimeoutConstant;
    // Lines without modem signals (virtual ports, a pty under Wine) refuse these: harmless.
    EscapeCommFunction(handle, serial->dtr ? SETDTR : CLRDTR);
    EscapeCommFunction(handle, serial->rts ? SETRTS : CLRRTS);
    return true;
}

bool SocketSerial::Close()
{
    if (!Valid(handle)) {
        handle = nullptr;
        return true;
    }
    // Read and Write never return with an operation in flight (one given up is cancelled
    // and waited for), so the overlapped structures are free to go.
    if (readOverlapped.hEvent != nullptr)
        CloseHandle(readOverlapped.hEvent);
    if (writeOverlapped.hEvent != nullptr)
        CloseHandle(writeOverlapped.hEvent);
    readOverlapped = OVERLAPPED{};
    writeOverlapped = OVERLAPPED{};
    BOOL closed = CloseHandle(handle);
    handle = nullptr;
    SetPortOpen(false);
    return closed != FALSE;
}

void SocketSerial::Purge()
{
    if (Valid(handle))
        PurgeComm(handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

DWORD SocketSerial::Queued()
{
    comStat = COMSTAT{};
    errors = 0;
    if (!ClearCommError(handle, &errors, &comStat))
        return 0;
    return comStat.cbInQue;
}

DWORD SocketSerial::ReadOnce(BYTE* buffer, DWORD count, DWORD waitMs)
{
    bytesRead = 0;
    if (ReadFile(handle, buffer, count, &bytesRead, &readOverlapped))
        return bytesRead;
    if (GetLastError() != ERROR_IO_PENDING)
        return 0;  // also ERROR_TIMEOUT, with which Wine ends a read that got nothing
    // The line's own total time-out normally ends the read; the wait is a safety net.
    if (WaitForSingleObject(readOverlapped.hEvent, waitMs + 1000) != WAIT_OBJECT_0)
        CancelIoEx(handle, &readOverlapped);
    // A read that ended by its time-out fails (Wine: ERROR_TIMEOUT) or was cancelled; the
    // count is what arrived before, 0 in both cases unless bytes came in the last moment.
    DWORD got = 0;
    GetOverlappedResult(handle, &readOverlapped, &got, TRUE);
    bytesRead = got;
    return got;
}

int32_t SocketSerial::Read(void* buffer, int32_t count)
{
    if (!Valid(handle) || buffer == nullptr || count <= 0)
        return 0;
    BYTE* out = static_cast<BYTE*>(buffer);
    int32_t held = 0;
    int attempts = 0;
    while (held < count && attempts < kReadAttempts) {
        DWORD want = static_cast<DWORD>(count - held);
        DWORD queued = Queued();
        // With bytes queued the read takes them at once; without, it waits for one byte.
        DWORD ask = queued == 0 ? 1 : (queued < want ? queued : want);
        DWORD got = ReadOnce(out + held, ask, kReadWaitMs);
        if (got == 0) {
            ++attempts;
            continue;
        }
        held += static_cast<int32_t>(got);
        attempts = 0;
    }
    return held;
}

DWORD SocketSerial::WriteLimitMs(uint32_t baudRate, uint32_t length)
{
    const uint64_t baud = baudRate != 0 ? baudRate : kSlowestBaud;
    const uint64_t lineMs = (uint64_t{length} * 10 * 1000 + baud - 1) / baud;
    const uint64_t limit = lineMs + kWriteMarginMs;
    return limit < INFINITE ? static_cast<DWORD>(limit) : INFINITE - 1;
}

int32_t SocketSerial::Write(const void* data, int32_t count)
{
    int32_t length = WriteLength(data, count);
    if (!Valid(handle) || length <= 0)
        return 0;
    bytesWritten = 0;
    if (WriteFile(handle, data, static_cast<DWORD>(length), &bytesWritten, &writeOverlapped))
        return static_cast<int32_t>(bytesWritten);
    if (GetLastError() != ERROR_IO_PENDING)
        return 0;
    const DWORD limit = WriteLimitMs(dcb.BaudRate, static_cast<uint32_t>(length));
    if (WaitForSingleObject(writeOverlapped.hEvent, limit) != WAIT_OBJECT_0)
        CancelIoEx(handle, &writeOverlapped);
    DWORD written = 0;
    GetOverlappedResult(handle, &writeOverlapped, &written, TRUE);
    bytesWritten = written;
    return static_cast<int32_t>(written);
}
