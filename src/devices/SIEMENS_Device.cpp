#include "devices/SIEMENS_Device.h"

#include "core/Clock.h"
#include "devices/ObexTargets.h"
#include "devices/TComm.h"
#include "devices/TSerialPort.h"
#include "obex/OBEX_FTP.h"
#include "transport/Socket.h"

namespace {

constexpr int kSwitchAttempts = 2;
constexpr int kOpenAttempts = 2;
constexpr int kResetRounds = 2;

}  // namespace

SIEMENS_Device::SIEMENS_Device(TComm* port) : Device(port)
{
    if (port != nullptr && port->info[TComm::kManufacturer].IsEmpty())
        port->info[TComm::kManufacturer] = "SIEMENS";
}

void SIEMENS_Device::ReleaseSocket(Socket* socket)
{
    if (socket == nullptr)
        return;
    if (fileAccess != nullptr)
        LeaveObexMode(socket);
    socket->Close();
}

void SIEMENS_Device::AfterListing(FTP*)
{
    auto* obex = dynamic_cast<OBEX_FTP*>(fileAccess);
    if (obex == nullptr)
        return;
    obex->memoryTotal = obex->QueryMemory(1);
    obex->memoryFree = obex->QueryMemory(2);
}

bool SIEMENS_Device::EnterObexMode(Socket* socket)
{
    if (socket == nullptr)
        return false;
    socket->Write("AT^SQWE=0\r", 0);
    socket->ReadReply(0);
    for (int attempt = 0; attempt < kSwitchAttempts; ++attempt) {
        socket->Write("AT^SQWE=3\r", 0);
        SleepMs(kModeSwitchWaitMs);
        socket->ReadReply(0);
        if (socket->result.Equals("OK")) {
            socket->channel = Socket::kChannelObex;
            return true;
        }
    }
    return false;
}

bool SIEMENS_Device::LeaveObexMode(Socket* socket)
{
    if (socket == nullptr)
        return true;
    if (fileAccess != nullptr) {
        fileAccess->Disconnect();
        SleepMs(kModeSwitchWaitMs);
        DropFileAccess();
        socket->Write("+++", 0);
        SleepMs(kModeSwitchWaitMs);
    }
    for (int round = 0; round < kResetRounds; ++round) {
        if (AtResetSequence(*socket, nullptr))
            break;
        socket->Write("AT^SQWE=0\r", 0);
        socket->ReadReply(0);
        if (AtResetSequence(*socket, nullptr))
            break;
        socket->Write("+++", 0);
        SleepMs(kModeSwitchWaitMs);
        if (AtResetSequence(*socket, nullptr))
            break;
    }
    socket->channel = Socket::kChannelAt;
    return true;
}

bool SIEMENS_Device::OpenFileAccess(Socket* socket, WaitProgress* wait)
{
    if (socket == nullptr || !socket->Open())
        return false;
    const bool serial = port != nullptr && port->kind == TComm::kSerial;
    if (fileAccess == nullptr)
        fileAccess = new OBEX_FTP;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (wait != nullptr)
            wait->Step();
        if (fileAccess->Connect(socket, SiemensTarget, sizeof SiemensTarget))
            return true;
        if (!serial)
            continue;
        // The phone may have missed the switch: take the line back to AT mode and switch
        // it again before the second attempt.
        socket->Purge();
        if (wait != nullptr)
            wait->Step();
        LeaveObexMode(socket);
        DropFileAccess();
        fileAccess = new OBEX_FTP;
        if (!EnterObexMode(socket))
            break;
    }
    DropFileAccess();
    if (serial)
        AtHandshake(*socket, nullptr);
    return false;
}
