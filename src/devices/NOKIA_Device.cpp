#include "devices/NOKIA_Device.h"

#include "devices/TComm.h"
#include "devices/TSerialPort.h"
#include "obex/FTP.h"
#include "transport/Socket.h"

NOKIA_Device::NOKIA_Device(TComm* port) : Device(port)
{
    if (port != nullptr)
        port->info[TComm::kManufacturer] = "NOKIA";
    name = "NOKIA";
}

void NOKIA_Device::ReleaseSocket(Socket* socket)
{
    if (fileAccess != nullptr) {
        fileAccess->Disconnect();
        DropFileAccess();
    }
    if (socket != nullptr)
        socket->Close();
}

bool NOKIA_Device::OpenFileAccess(Socket* socket, WaitProgress* wait)
{
    if (Device::OpenFileAccess(socket, wait))
        return true;
    // A phone that took part of the OBEX exchange may still wait for packets: without its
    // AT commands back the next identification would find it silent.
    if (socket != nullptr && port != nullptr && port->kind == TComm::kSerial)
        AtHandshake(*socket, nullptr);
    return false;
}
