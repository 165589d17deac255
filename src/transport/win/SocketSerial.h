// A COM port as a Socket: overlapped file I/O on the line the port names.
#pragma once

#include <windows.h>

#include "transport/Socket.h"

class SocketSerial : public Socket {
public:
    // One read waits this long for a byte; four such waits in a row without a byte end it.
    static constexpr DWORD kReadWaitMs = 3000;
    static constexpr int kReadAttempts = 4;
    // Gap that ends a read which already has bytes (it asks only for queued bytes, so this
    // matters only if the queue count was stale).
    static constexpr DWORD kReadIntervalMs = 20;
    // A write may take what its bytes need at the line's speed (ten bits a byte: start, eight
    // data bits, stop) plus this margin; a line slower than that has stalled, and the write is
    // given up with what went.
    static constexpr DWORD kWriteMarginMs = 3000;
    // The rate assumed when the line has none set (the slowest standard one).
    static constexpr uint32_t kSlowestBaud = 110;

    SocketSerial(TComm* port, int32_t channel);
    ~SocketSerial() override;

    bool Open() override;
    bool Close() override;
    bool IsOpen() override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;
    void Purge() override;

    // Applies the port's line settings. On a closed socket: opens (which configures) and
    // closes again; true when that open succeeded.
    bool Configure();

private:
    // How long a write of length bytes may take on a line at baudRate.
    static DWORD WriteLimitMs(uint32_t baudRate, uint32_t length);
    bool ConfigureOpenLine();
    HANDLE OpenLine();
    // One overlapped ReadFile of up to count bytes, waited for at most waitMs; a read given
    // up is cancelled and waited for. Answers the bytes read (0 on time-out or error).
    DWORD ReadOnce(BYTE* buffer, DWORD count, DWORD waitMs);
    // Bytes waiting in the input queue.
    DWORD Queued();

    HANDLE handle = nullptr;
    OVERLAPPED readOverlapped{};
    OVERLAPPED writeOverlapped{};
    DCB dcb{};
    DWORD eventMask = EV_RXCHAR;
    DWORD errors = 0;
    COMSTAT comStat{};
    DWORD bytesRead = 0;
    DWORD bytesWritten = 0;
};
