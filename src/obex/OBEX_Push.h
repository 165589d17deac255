// Sending local files to a phone with OBEX Object Push: a CONNECT without target on the
// port's push channel, one PUT per file, DISCONNECT. The transfer runs on the push's own
// thread and shows in a file-operation progress dialog; files that did not arrive are named
// to the user at the end. One push at a time: the selection and the packet buffers are
// single, so the window asks IsPushing before it offers the command.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/MessageReporter.h"
#include "core/StoppableWork.h"
#include "core/ThreadObject.h"
#include "filemanager/CopyEngine.h"
#include "obex/FileSelector.h"
#include "obex/OBEX_FTP.h"

class Device;
class TComm;

// The push's progress dialog: the texts and counter of an upload, plus the operation's total
// size, opening and closing.
class PushProgress : public CopyProgress {
public:
    // Window thread, before the push thread starts. False when no dialog could be shown; the
    // push then goes on without one.
    virtual bool Open() = 0;
    virtual void SetTotalSize(uint64_t size) = 0;
    // Any thread: the dialog closes itself at its next tick.
    virtual void RequestClose() = 0;
};

// What the window that starts pushes hears of the phone: busy from StartPush (on the
// window's thread, before the push thread starts), idle when the push has ended (on the push
// thread, after the user has been told of files not sent).
class PushListener {
public:
    virtual ~PushListener() = default;
    virtual void DeviceBusy(Device* device, bool busy) = 0;
};

// Why a file did not reach the phone.
enum class PushFailure : uint8_t {
    NoChannel,       // the port has no push service (serial lines)
    NotOpened,       // the push channel did not open
    ConnectRefused,  // the phone refused the CONNECT (code) or did not answer (code 0)
    Refused,         // the phone refused the file (code)
    Broken,          // the transfer broke off without a refusal: a cut link, an unreadable file
    Cancelled,       // cancelled, or the program closing, before the file was complete
};

struct NotSentFile {
    GString name;
    PushFailure why;
    uint8_t code;  // the phone's response code; 0 when it gave none
};

class OBEX_Push;

class OBEXPushThread : public ThreadObject {
public:
    explicit OBEXPushThread(OBEX_Push& owner) : owner(owner) {}
    void Prepare() override;
    void Run() override;

private:
    OBEX_Push& owner;
};

class OBEX_Push : public OBEX_FTP, public StoppableWork {
public:
    OBEX_Push();
    // Stops a push that still runs and waits for it.
    ~OBEX_Push() override;

    // Sends the CONNECT without target (the arguments' target is not used) and reads one
    // answer: no retry and no wait, also on a serial line. Always asks, also when connected.
    bool Connect(Socket* socket, const uint8_t* target, uint32_t targetLength) override;

    // Window thread; Windows only. The dialog "Выбор объектов" for any number of existing
    // files; true when at least one was taken. False at once while a push runs.
    bool SelectFiles(WindowHandle owner);
    // Window thread. Sends the selected files to the phone on port and returns at once: the
    // device is marked busy, the dialog opened, the push thread started. False, with nothing
    // started, while a push runs, without a selection, or for a port without a device. The
    // caller makes sure no other work runs on the phone (the device is idle, or made busy by
    // the caller for this push).
    bool StartPush(TComm* port);
    bool IsPushing() const { return pushThread.IsRunning(); }
    // Stops the running push (the file in transfer is broken off and removed from the
    // phone) and waits until it has ended.
    void StopAndWait() override;

    // Set once by the owner before the first push; not owned.
    void SetListener(PushListener* listener) { this->listener = listener; }
    void SetProgress(PushProgress* progress) { this->progress = progress; }

    // The files of the last push that did not reach the phone, in order. Read it only while
    // no push runs.
    const std::vector<NotSentFile>& NotSent() const { return notSent; }

    FileSelector selection;

private:
    friend class OBEXPushThread;
    class Gauge;

    // The push thread's work.
    void Run();
    bool Stopping() const;
    // Connects on the push socket; false with every file listed as not sent.
    bool OpenSession();
    void SendFiles(Gauge& gauge);
    void TellNotSent();

    OBEXPushThread pushThread{*this};
    PushListener* listener = nullptr;
    PushProgress* progress = nullptr;
    PushProgress* shown = nullptr;  // progress, when the push has a channel to show
    // What one push works on, taken by StartPush.
    std::vector<FileInformation> job;
    Socket* pushSocket = nullptr;  // the port's; null when the port has no push channel
    Device* device = nullptr;
    GString deviceName;
    std::atomic<bool> stopAsked{false};
    std::vector<NotSentFile> notSent;
};
