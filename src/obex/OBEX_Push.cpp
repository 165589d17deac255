#include "obex/OBEX_Push.h"

#include <cstdio>
#include <cstring>

#include "core/MessagePlatform.h"
#include "devices/Device.h"
#include "devices/SocketFactory.h"
#include "devices/TComm.h"
#include "obex/ObexCodes.h"
#include "resources/resource.h"
#include "transport/Socket.h"

namespace {

constexpr uint32_t kTextCapacity = 512;
// A box lists this many files at most; the rest are counted.
constexpr size_t kMaxListed = 20;
constexpr unsigned kStyleError = 0x10;    // OK, error icon
constexpr unsigned kStyleWarning = 0x30;  // OK, warning icon

GString Text(uint32_t id)
{
    GString text;
    MessagePlatform::LoadText(id, kTextCapacity, text);
    return text;
}

GString CodeText(uint8_t code)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return GString(text);
}

GString FileName(const FileInformation& file)
{
    const char* name = file.findData.fileName;
    const auto length = static_cast<uint32_t>(strnlen(name, sizeof file.findData.fileName));
    return length > 0 ? GString(name, length) : file.path;
}

uint64_t FileSize(const FileInformation& file)
{
    return (static_cast<uint64_t>(file.findData.sizeHigh) << 32) | file.findData.sizeLow;
}

}  // namespace

// What PutFile reports to: the dialog, with a stop of the push counted as a cancel, so that
// closing the program breaks off the file in transfer instead of waiting for its end.
class OBEX_Push::Gauge : public OperationProgress {
public:
    Gauge(const OBEX_Push& push, PushProgress* dialog) : push(push), dialog(dialog) {}
    bool IsCancelled() override
    {
        return push.Stopping() || (dialog != nullptr && dialog->IsCancelled());
    }
    void SetFileSize(uint32_t size) override
    {
        if (dialog != nullptr)
            dialog->SetFileSize(size);
    }
    void AddTransferred(uint32_t bytes) override
    {
        if (dialog != nullptr)
            dialog->AddTransferred(bytes);
    }
    void PumpMessages() override
    {
        if (dialog != nullptr)
            dialog->PumpMessages();
    }

private:
    const OBEX_Push& push;
    PushProgress* dialog;
};

void OBEXPushThread::Prepare() { ClearStopRequest(); }

void OBEXPushThread::Run() { owner.Run(); }

OBEX_Push::OBEX_Push() = default;

OBEX_Push::~OBEX_Push() { StopAndWait(); }

bool OBEX_Push::Connect(Socket* s, const uint8_t*, uint32_t)
{
    // Each push is a session of its own: a flag left by a DISCONNECT the phone refused must
    // not stand for a connection.
    connected = false;
    hasConnectionId = false;
    socket = s;
    if (socket == nullptr)
        return false;
    RequestWriter writer(request, kBufferSize, obex::kConnect);
    writer.U8(obex::kVersion10);
    writer.U8(0);  // flags
    writer.U16(kBufferSize);
    if (!Send(writer) || !ReadResponse())
        return false;
    TakeConnectAnswer();
    return true;
}

bool OBEX_Push::StartPush(TComm* port)
{
    if (port == nullptr || port->device == nullptr || IsPushing() || selection.files.Count() == 0)
        return false;
    job.clear();
    uint64_t total = 0;
    for (ListIterator<FileInformation> it(selection.files); !it.IsDone(); it.Next()) {
        job.push_back(*it.CurrentItem());
        total += FileSize(*it.CurrentItem());
    }
    device = port->device;
    deviceName = device->name;
    pushSocket = port->GetSocket(Socket::kChannelPush);
    if (pushSocket == nullptr && (port->kind == TComm::kIrDA || port->kind == TComm::kBluetooth)) {
        pushSocket = TheSocketFactory().CreateSocket(*port, Socket::kChannelPush);
        if (pushSocket != nullptr)
            port->AddSocket(pushSocket);
    }
    // Without a channel there is nothing to show progress of: the user hears why at once.
    shown = pushSocket != nullptr ? progress : nullptr;
    notSent.clear();
    stopAsked.store(false);
    if (listener != nullptr)
        listener->DeviceBusy(device, true);
    if (shown != nullptr) {
        shown->Open();
        shown->SetSourceText("Подготовка операции...");
        shown->SetTotalSize(total);
        GString target(port->portName);
        target.Append(":\\");
        target.Append(device->name);
        target.Append(":");
        shown->SetTargetText(target);
    }
    if (pushThread.Start())
        return true;
    if (shown != nullptr)
        shown->RequestClose();
    if (listener != nullptr)
        listener->DeviceBusy(device, false);
    return false;
}

void OBEX_Push::StopAndWait()
{
    stopAsked.store(true);
    pushThread.RequestStop();
    pushThread.Wait(ThreadObject::kInfinite);
}

bool OBEX_Push::Stopping() const { return stopAsked.load() || pushThread.StopRequested(); }

void OBEX_Push::Run()
{
    Gauge gauge(*this, shown);
    if (OpenSession()) {
        SendFiles(gauge);
        Disconnect();
    }
    connected = false;
    hasConnectionId = false;
    if (pushSocket != nullptr)
        pushSocket->Close();
    socket = nullptr;
    if (shown != nullptr)
        shown->RequestClose();
    if (!notSent.empty())
        TellNotSent();
    // Last: once idle, the window may let the port go (a phone that vanished meanwhile).
    if (listener != nullptr)
        listener->DeviceBusy(device, false);
}

bool OBEX_Push::OpenSession()
{
    PushFailure why;
    uint8_t code = 0;
    if (pushSocket == nullptr) {
        why = PushFailure::NoChannel;
    } else if (!pushSocket->Open()) {
        why = PushFailure::NotOpened;
    } else if (Connect(pushSocket, nullptr, 0)) {
        return true;
    } else {
        why = PushFailure::ConnectRefused;
        code = static_cast<uint8_t>(LastError());
    }
    for (const FileInformation& file : job)
        notSent.push_back({FileName(file), why, code});
    return false;
}

void OBEX_Push::SendFiles(Gauge& gauge)
{
    const auto count = static_cast<uint32_t>(job.size());
    for (uint32_t i = 0; i < count; ++i) {
        FileInformation& file = job[i];
        if (gauge.IsCancelled()) {
            notSent.push_back({FileName(file), PushFailure::Cancelled, 0});
            continue;
        }
        if (shown != nullptr) {
            shown->SetSourceText(file.path);
            shown->SetFileCounter(i + 1, count);
        }
        if (PutFile(&file, &gauge))
            continue;
        // LastError keeps the phone's refusal; 0 when it refused nothing.
        const auto code = static_cast<uint8_t>(LastError());
        const PushFailure why = code != 0          ? PushFailure::Refused
                                : gauge.IsCancelled() ? PushFailure::Cancelled
                                                      : PushFailure::Broken;
        notSent.push_back({FileName(file), why, code});
    }
}

void OBEX_Push::TellNotSent()
{
    const GString missing(static_cast<uint32_t>(notSent.size()));
    const GString all(static_cast<uint32_t>(job.size()));
    GString text =
        FillArguments(Text(IDS_PUSH_NOT_SENT), {deviceName.CStr(), missing.CStr(), all.CStr()});
    const NotSentFile& first = notSent.front();
    bool onlyCancelled = true;
    bool cancelled = false;
    for (const NotSentFile& file : notSent) {
        onlyCancelled = onlyCancelled && file.why == PushFailure::Cancelled;
        cancelled = cancelled || file.why == PushFailure::Cancelled;
    }
    // Why nothing could be sent, or why the push ended early, comes first.
    GString reason;
    switch (first.why) {
    case PushFailure::NoChannel:
        reason = Text(IDS_PUSH_NO_CHANNEL);
        break;
    case PushFailure::NotOpened:
        reason = Text(IDS_PUSH_NOT_OPENED);
        break;
    case PushFailure::ConnectRefused:
        reason = first.code != 0
                     ? FillArguments(Text(IDS_PUSH_CONNECT_REFUSED), {CodeText(first.code).CStr()})
                     : Text(IDS_PUSH_CONNECT_SILENT);
        break;
    default:
        if (cancelled)
            reason = Text(IDS_PUSH_CANCELLED);
        break;
    }
    if (!reason.IsEmpty()) {
        text.Append("\n");
        text.Append(reason);
    }
    text.Append("\n");
    for (size_t i = 0; i < notSent.size() && i < kMaxListed; ++i) {
        const NotSentFile& file = notSent[i];
        text.Append("\n");
        if (file.why == PushFailure::Refused) {
            text.Append(FillArguments(Text(IDS_PUSH_FILE_REFUSED),
                                      {file.name.CStr(), CodeText(file.code).CStr()}));
        } else if (file.why == PushFailure::Broken) {
            text.Append(FillArguments(Text(IDS_PUSH_FILE_BROKEN), {file.name.CStr()}));
        } else {
            text.Append(file.name);
        }
    }
    if (notSent.size() > kMaxListed) {
        const GString more(static_cast<uint32_t>(notSent.size() - kMaxListed));
        text.Append("\n");
        text.Append(FillArguments(Text(IDS_PUSH_MORE), {more.CStr()}));
    }
    const GString caption = Text(onlyCancelled ? IDS_CAPTION_WARNING : IDS_CAPTION_ERROR);
    Reporter().ReportText(text.CStr(), caption.CStr(), onlyCancelled ? kStyleWarning : kStyleError);
}
