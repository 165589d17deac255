#include "devices/TSerialPort.h"

#include "core/Clock.h"
#include "devices/ConnectProgress.h"
#include "devices/Device.h"
#include "devices/SocketFactory.h"
#include "obex/Progress.h"
#include "transport/Socket.h"

TSerialPort::~TSerialPort() { Disconnect(); }

TSerialPort::TSerialPort() : TComm(kSerial) {}

bool TSerialPort::Connect(ConnectProgress* progress)
{
    BeginProgress(progress);
    Socket* socket = GetSocket(Socket::kChannelAt);
    if (socket == nullptr)
        return false;
    if (!socket->Open() || Cancelled(progress))
        return false;
    if (!AtHandshake(*socket, progress))
        return false;
    return FinishIdentification();
}

Socket* TSerialPort::GetSocket(int32_t channel, WaitProgress* waitDialog)
{
    if (Socket* found = TComm::GetSocket(channel))
        return found;
    if (channel == Socket::kChannelAt) {
        Socket* obex = TComm::GetSocket(Socket::kChannelObex);
        if (obex == nullptr) {
            Socket* created = TheSocketFactory().CreateSocket(*this, Socket::kChannelAt);
            if (created != nullptr)
                AddSocket(created);
            return created;
        }
        if (waitDialog != nullptr)
            waitDialog->Step();
        return device != nullptr && device->LeaveObexMode(obex) ? obex : nullptr;
    }
    if (channel == Socket::kChannelObex) {
        Socket* at = TComm::GetSocket(Socket::kChannelAt);
        if (waitDialog != nullptr)
            waitDialog->Step();
        if (at == nullptr || device == nullptr)
            return nullptr;
        return device->EnterObexMode(at) ? at : nullptr;
    }
    return nullptr;
}

bool AtResetSequence(Socket& socket, ConnectProgress* progress)
{
    if (progress != nullptr && progress->IsCancelled())
        return false;
    socket.Write("ATZ\r", 0);
    if (socket.ReadReply(0) <= 0 || !socket.result.Equals("OK"))
        return false;
    socket.Write("ATE0\r", 0);
    socket.ReadReply(0);
    return true;
}

bool AtHandshake(Socket& socket, ConnectProgress* progress)
{
    if (AtResetSequence(socket, progress))
        return true;
    socket.Write("+++", 0);
    if (progress != nullptr) {
        if (progress->IsCancelled())
            return false;
        progress->Step();
    }
    SleepMs(TSerialPort::kEscapeGuardMs);
    bool ok = AtResetSequence(socket, progress);
    if (!ok && progress != nullptr && !progress->IsCancelled())
        progress->Step();
    return ok;
}
