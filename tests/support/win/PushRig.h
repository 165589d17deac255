// An Object Push to the phone simulator, for Wine tests. There is no IrDA or Bluetooth here:
// the phone is a Bluetooth port whose push socket the socket factory makes on the
// simulator's COM port, so the push takes its usual way (the port's channel-2 socket,
// created and kept by the port).
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "devices/SocketFactory.h"
#include "devices/TBthPort.h"
#include "devices/TSerialPort.h"
#include "obex/OBEX_Push.h"

// Push sockets on a COM port while it lives; declare it before the ports that get them.
class LinePushSockets : public SocketFactory {
public:
    explicit LinePushSockets(const std::string& comName);
    ~LinePushSockets() override { SetSocketFactoryForTesting(previous); }
    Socket* CreateSocket(TComm& port, int32_t channel) override;

private:
    TSerialPort line;  // the COM port the sockets open
    SocketFactory* previous;
};

// A Bluetooth phone named "Phone", identified, without sockets, in no port list.
TBthPort* NewPushPhone();

// The push's dialog and window at once. Every call is logged in order ("busy", "open",
// "target ...", "total N", "source ...", "counter n/m", "size N", "close", "idle"); the
// bytes moved are counted; the push can be held at a file.
class PushRecorder : public PushProgress, public PushListener {
public:
    PushRecorder();
    ~PushRecorder() override;

    bool Open() override
    {
        Note("open");
        return true;
    }
    void SetSourceText(const GString& text) override { Note(std::string("source ") + text.CStr()); }
    void SetTargetText(const GString& text) override { Note(std::string("target ") + text.CStr()); }
    void SetFileCounter(uint32_t number, uint32_t count) override;
    void SetTotalSize(uint64_t size) override { Note("total " + std::to_string(size)); }
    void RequestClose() override { Note("close"); }
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t size) override { Note("size " + std::to_string(size)); }
    void AddTransferred(uint32_t bytes) override;
    void PumpMessages() override {}
    void DeviceBusy(Device* device, bool busy) override;

    // The push thread stops once, at the counter of file n, until Release.
    void HoldAtFile(uint32_t n) { holdFile = n; }
    void Release() { SetEvent(released); }

    void Note(const std::string& line);
    std::vector<std::string> Log() const;
    uint64_t Transferred() const { return transferred.load(); }
    // Each waits for its event since the last such wait.
    void WaitMoving() const { WaitForSingleObject(moving, INFINITE); }
    void WaitHeld() const { WaitForSingleObject(held, INFINITE); }
    // Until the push said idle and its thread has ended.
    void WaitEnd(const OBEX_Push& push) const;

private:
    mutable std::mutex lock;
    std::vector<std::string> log;
    std::atomic<uint64_t> transferred{0};
    uint32_t holdFile = 0;
    HANDLE moving;
    HANDLE idle;
    HANDLE held;
    HANDLE released;
};

// Index of the first log line equal to line; -1 when none is.
int IndexOf(const std::vector<std::string>& log, const std::string& line);
