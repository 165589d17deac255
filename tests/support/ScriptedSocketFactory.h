// A socket factory for port tests: every socket a port creates is a ScriptedSocket, set up
// by the test per channel. Install it with SocketFactoryOverride for the length of a test.
//
//   ScriptedSocketFactory factory;
//   SocketFactoryOverride use(factory);
//   factory.Script(0, [](ScriptedSocket& s) { s.Expect("ATZ\r", "\r\nOK\r\n"); });
//   factory.FailOpen(1);                       // channel 1 refuses to open
//   ... port.Connect(nullptr) ...
//   EXPECT_EQ(factory.Created(), (std::vector<int32_t>{1, 0}));
//
// The port owns and destroys the sockets; events that outlive them are kept in Log()
// ("open 1", "close 1", "delete 1", in order).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "devices/SocketFactory.h"
#include "support/ScriptedSocket.h"

class ScriptedSocketFactory : public SocketFactory {
public:
    Socket* CreateSocket(TComm& port, int32_t channel) override;

    // Runs on every new socket of the channel before the port sees it.
    void Script(int32_t channel, std::function<void(ScriptedSocket&)> setup);
    void FailOpen(int32_t channel);

    const std::vector<int32_t>& Created() const { return created; }  // channels, in order
    const std::vector<std::string>& Log() const { return log; }
    // Sockets created and not yet destroyed.
    ScriptedSocket* Last(int32_t channel) const;

private:
    friend class LoggedSocket;
    std::map<int32_t, std::function<void(ScriptedSocket&)>> setups;
    std::map<int32_t, bool> failing;
    std::vector<int32_t> created;
    std::vector<std::string> log;
    std::vector<ScriptedSocket*> alive;
};

class SocketFactoryOverride {
public:
    explicit SocketFactoryOverride(SocketFactory& factory)
        : previous(SetSocketFactoryForTesting(&factory)) {}
    ~SocketFactoryOverride() { SetSocketFactoryForTesting(previous); }
    SocketFactoryOverride(const SocketFactoryOverride&) = delete;
    SocketFactoryOverride& operator=(const SocketFactoryOverride&) = delete;

private:
    SocketFactory* previous;
};
