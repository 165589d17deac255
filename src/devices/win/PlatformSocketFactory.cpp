#include "devices/SocketFactory.h"
#include "devices/TComm.h"
#include "transport/win/SocketBT.h"
#include "transport/win/SocketIrDA.h"
#include "transport/win/SocketSerial.h"

namespace {

class WindowsTransports : public SocketFactory {
public:
    Socket* CreateSocket(TComm& port, int32_t channel) override
    {
        switch (port.kind) {
        case TComm::kSerial:
            return new SocketSerial(&port, channel);
        case TComm::kIrDA:
            return new SocketIrDA(&port, channel);
        case TComm::kBluetooth:
            return new SocketBT(&port, channel);
        default:
            return nullptr;
        }
    }
};

}  // namespace

SocketFactory& PlatformSocketFactory()
{
    static WindowsTransports factory;
    return factory;
}
