#include "devices/SocketFactory.h"

#include <atomic>

// The platform's transports (serial, IrDA and Bluetooth sockets on Windows).
SocketFactory& PlatformSocketFactory();

namespace {
std::atomic<SocketFactory*> installed{nullptr};
}

SocketFactory& TheSocketFactory()
{
    SocketFactory* factory = installed.load();
    return factory != nullptr ? *factory : PlatformSocketFactory();
}

SocketFactory* SetSocketFactoryForTesting(SocketFactory* factory)
{
    return installed.exchange(factory);
}
