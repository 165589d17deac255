#include "devices/Identification.h"

#include "devices/SocketFactory.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "transport/Socket.h"

namespace {

struct AtQuery {
    const char* command;
    TComm::InfoIndex entry;
};

constexpr AtQuery kAtQueries[] = {
    {"AT+CGMI\r", TComm::kManufacturer},
    {"AT+CGMM\r", TComm::kModel},
    {"AT+CGSN\r", TComm::kSerialNumber},
    {"AT+CGMR\r", TComm::kSoftwareVersion},
};

Socket* AtSocket(TComm& port)
{
    if (Socket* socket = port.GetSocket(Socket::kChannelAt))
        return socket;
    Socket* socket = TheSocketFactory().CreateSocket(port, Socket::kChannelAt);
    if (socket == nullptr)
        return nullptr;
    if (!socket->Open()) {
        delete socket;
        return nullptr;
    }
    port.AddSocket(socket);
    return socket;
}

}  // namespace

bool IdentifyByAt(TComm& port)
{
    Socket* socket = AtSocket(port);
    if (socket == nullptr)
        return false;
    for (const AtQuery& query : kAtQueries) {
        socket->Write(query.command, 0);
        if (socket->ReadReply(0) > 0)
            port.info[query.entry] = socket->reply;
    }
    return !port.info[TComm::kManufacturer].IsEmpty();
}

bool TSerialPort::Identify() { return IdentifyByAt(*this); }

bool TIrDAPort::Identify() { return IdentifyByAt(*this); }

bool TBthPort::Identify()
{
    if (majorClass & 0x3) {
        info[kDeviceType] = "Сотовый телефон";
        if (IdentifyByAt(*this))
            return true;
    }
    if (majorClass & 0x4) {
        info[kManufacturer] = deviceName;
        info[kDeviceType] = "Гарнитура (аудиоустройство)";
        return true;
    }
    return false;
}
