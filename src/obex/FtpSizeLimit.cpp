#include "obex/FtpSizeLimit.h"

#include "devices/Device.h"
#include "devices/TComm.h"
#include "transport/Socket.h"

GString FtpSizeLimit::DeviceDisplayName()
{
    if (ftp.socket == nullptr || ftp.socket->port == nullptr || ftp.socket->port->device == nullptr)
        return GString();
    return ftp.socket->port->device->name;
}
