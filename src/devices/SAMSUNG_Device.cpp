#include "devices/SAMSUNG_Device.h"

#include "devices/TComm.h"
#include "obex/FTP.h"
#include "samsung/SAMSUNG_AT_FS.h"
#include "samsung/SAMSUNG_AT_FTP.h"
#include "transport/Socket.h"

SAMSUNG_Device::SAMSUNG_Device(TComm* port) : Device(port)
{
    name = "SAMSUNG";
    if (port != nullptr)
        port->info[TComm::kManufacturer] = "SAMSUNG";
}

void SAMSUNG_Device::ReleaseSocket(Socket* socket)
{
    if (fileAccess != nullptr) {
        fileAccess->Disconnect();
        DropFileAccess();
    }
    if (socket != nullptr)
        socket->Close();
}

bool SAMSUNG_Device::EnterObexMode(Socket*) { return true; }

bool SAMSUNG_Device::LeaveObexMode(Socket*) { return true; }

bool SAMSUNG_Device::OpenFileAccess(Socket*, WaitProgress* wait)
{
    Socket* at = port != nullptr ? port->GetSocket(Socket::kChannelAt) : nullptr;
    if (at == nullptr || !at->Open())
        return false;
    DropFileAccess();
    fileAccess = new SAMSUNG_AT_FS;
    if (wait != nullptr)
        wait->Step();
    if (fileAccess->Connect(at, nullptr, 0))
        return true;
    DropFileAccess();
    fileAccess = new SAMSUNG_AT_FTP;
    if (wait != nullptr)
        wait->Step();
    if (fileAccess->Connect(at, nullptr, 0))
        return true;
    DropFileAccess();
    return false;
}
