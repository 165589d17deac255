#include "devices/TComm.h"

#include "devices/ConnectProgress.h"
#include "devices/Device.h"
#include "devices/SocketFactory.h"
#include "obex/FTP.h"
#include "transport/Socket.h"

TComm::TComm(int32_t kind) : kind(kind) {}

TComm::~TComm() { Disconnect(); }

Socket* TComm::GetSocket(int32_t channel, WaitProgress*)
{
    for (ListIterator<Socket> it(sockets); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->channel == channel)
            return it.CurrentItem();
    }
    return nullptr;
}

void TComm::AddSocket(Socket* socket) { sockets.Append(socket); }

void TComm::Disconnect()
{
    // Work running on the phone (a listing, a delete) ends before its file access goes.
    if (device != nullptr)
        device->StopWork();
    // The file access ends with the first socket: a serial phone in OBEX mode is given the
    // chance to return to AT mode before its line is closed. The device's release ends the
    // session itself, so the port says goodbye only when the release left it open: a silent
    // phone then costs one wait for its answer, not two.
    for (ListIterator<Socket> it(sockets); !it.IsDone(); it.Next()) {
        Socket* socket = it.CurrentItem();
        if (device != nullptr && device->fileAccess != nullptr) {
            if (!gone && kind == kSerial)
                device->ReleaseSocket(socket);
            if (device->fileAccess != nullptr) {
                device->fileAccess->Disconnect();
                delete device->fileAccess;
                device->fileAccess = nullptr;
            }
        }
        socket->Close();
    }
    delete device;
    device = nullptr;
    sockets.DeleteAll();
    changed = false;
    identified = false;
    isOpen = false;
}

void TComm::MarkChanged(bool goneNow)
{
    changed = true;
    gone = goneNow;
}

bool TComm::FinishIdentification()
{
    // What an earlier connection learnt must not pass for this phone's answer: a phone that
    // stays silent now would otherwise keep the old manufacturer and count as identified.
    for (GString& entry : info)
        entry.Assign("");
    bool ok = Identify();
    const GString& maker = ok ? info[kManufacturer] : deviceName;
    Device* created = CreateDevice(ManufacturerFromText(maker), this);
    if (created == nullptr)
        return false;
    delete device;
    device = created;
    if (!deviceName.IsEmpty()) {
        device->name = deviceName;
    } else {
        GString name(info[kManufacturer]);
        name.Append(" ");
        name.Append(info[kModel]);
        device->name = name;
    }
    identified = true;
    return true;
}

void TComm::BeginProgress(ConnectProgress* progress)
{
    if (progress == nullptr)
        return;
    progress->SetPosition(0);
    progress->SetRange(0, 10);
    progress->Step();
}

bool TComm::Cancelled(ConnectProgress* progress)
{
    return progress != nullptr && progress->IsCancelled();
}

Socket* TComm::OpenChannel(int32_t channel)
{
    Socket* socket = TComm::GetSocket(channel);
    if (socket != nullptr)
        return socket->Open() ? socket : nullptr;
    socket = TheSocketFactory().CreateSocket(*this, channel);
    if (socket == nullptr)
        return nullptr;
    if (!socket->Open()) {
        delete socket;
        return nullptr;
    }
    AddSocket(socket);
    return socket;
}
