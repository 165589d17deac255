// The native build has no serial, IrDA or Bluetooth transports: ports get sockets only from
// a factory that a test installs.
#include "devices/SocketFactory.h"

namespace {

class NoTransports : public SocketFactory {
public:
    Socket* CreateSocket(TComm&, int32_t) override { return nullptr; }
};

}  // namespace

SocketFactory& PlatformSocketFactory()
{
    static NoTransports factory;
    return factory;
}
