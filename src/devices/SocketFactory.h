// Where the ports get their transports. The program creates the serial, IrDA and Bluetooth
// sockets of the platform; tests install a factory of scripted sockets.
#pragma once

#include <cstdint>

class Socket;
class TComm;

class SocketFactory {
public:
    virtual ~SocketFactory() = default;
    // A socket of the port's kind for the channel, not opened; null when the platform has
    // no such transport.
    virtual Socket* CreateSocket(TComm& port, int32_t channel) = 0;
};

// The process-wide factory: the platform's unless a test installed its own.
SocketFactory& TheSocketFactory();
// Installs a factory for tests (null restores the platform's); returns the previous one.
SocketFactory* SetSocketFactoryForTesting(SocketFactory* factory);
