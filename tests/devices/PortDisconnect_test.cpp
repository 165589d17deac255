#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devices/Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/FTP.h"
#include "support/ScriptedSocketFactory.h"

namespace {

// One log for everything that happens while a port comes apart.
std::vector<std::string>* events = nullptr;

void Note(const std::string& e)
{
    if (events != nullptr)
        events->push_back(e);
}

class LoggedFTP : public FTP {
public:
    ~LoggedFTP() override { Note("ftp deleted"); }
    bool Connect(Socket*, const uint8_t*, uint32_t) override { return true; }
    bool Disconnect() override
    {
        Note("ftp disconnect");
        return true;
    }
    bool ReadFolder(WaitProgress*) override { return true; }
    bool PutFile(FileInformation*, OperationProgress*) override { return true; }
    bool DeleteObject(const GString&) override { return true; }
};

class LoggedDevice : public Device {
public:
    explicit LoggedDevice(TComm* port) : Device(port) {}
    ~LoggedDevice() override { Note("device deleted"); }
    void ReleaseSocket(Socket* socket) override
    {
        Note("release " + std::to_string(socket->channel) + (socket->IsOpen() ? " open" : ""));
    }
};

struct DisconnectCase {
    const char* name;
    int32_t kind;
    std::vector<int32_t> channels;  // sockets the port holds (opened)
    bool withDevice;
    bool withFileAccess;
    bool gone;
    std::vector<std::string> expected;  // events besides the factory's own
};

class Disconnect : public testing::TestWithParam<DisconnectCase> {
protected:
    void SetUp() override { events = &log; }
    void TearDown() override { events = nullptr; }
    std::vector<std::string> log;
    ScriptedSocketFactory factory;
    SocketFactoryOverride useFactory{factory};
};

TComm* MakePort(int32_t kind)
{
    switch (kind) {
    case TComm::kSerial:
        return new TSerialPort;
    case TComm::kIrDA:
        return new TIrDAPort;
    default:
        return new TBthPort;
    }
}

TEST_P(Disconnect, LeavesThePortClean)
{
    const DisconnectCase& c = GetParam();
    TComm* port = MakePort(c.kind);
    for (int32_t channel : c.channels) {
        Socket* s = factory.CreateSocket(*port, channel);
        ASSERT_TRUE(s->Open());
        port->AddSocket(s);
    }
    if (c.withDevice) {
        port->device = new LoggedDevice(port);
        if (c.withFileAccess)
            port->device->fileAccess = new LoggedFTP;
        port->identified = true;
    }
    port->changed = true;
    port->gone = c.gone;

    port->Disconnect();

    EXPECT_EQ(port->sockets.Count(), 0u);
    EXPECT_EQ(port->device, nullptr);
    EXPECT_FALSE(port->identified);
    EXPECT_FALSE(port->isOpen);
    EXPECT_FALSE(port->changed);
    EXPECT_EQ(log, c.expected);
    // every socket was closed before it was destroyed
    for (int32_t channel : c.channels) {
        std::string close = "close " + std::to_string(channel);
        std::string del = "delete " + std::to_string(channel);
        auto& f = factory.Log();
        auto closed = std::find(f.begin(), f.end(), close);
        auto deleted = std::find(f.begin(), f.end(), del);
        EXPECT_NE(closed, f.end()) << close;
        EXPECT_LT(closed, deleted) << del;
    }
    port->Disconnect();  // twice is harmless
    EXPECT_EQ(port->sockets.Count(), 0u);
    delete port;
}

INSTANTIATE_TEST_SUITE_P(
    Devices, Disconnect,
    testing::Values(
        DisconnectCase{"Fresh", TComm::kSerial, {}, false, false, false, {}},
        DisconnectCase{"SerialNoDevice", TComm::kSerial, {0}, false, false, false, {}},
        DisconnectCase{"SerialIdentified", TComm::kSerial, {0}, true, false, false,
                       {"device deleted"}},
        DisconnectCase{"SerialInObexSession", TComm::kSerial, {1}, true, true, false,
                       {"release 1 open", "ftp disconnect", "ftp deleted", "device deleted"}},
        DisconnectCase{"SerialGone", TComm::kSerial, {1}, true, true, true,
                       {"ftp disconnect", "ftp deleted", "device deleted"}},
        DisconnectCase{"IrdaSessionEndsWithFirstSocket", TComm::kIrDA, {1, 0}, true, true, false,
                       {"ftp disconnect", "ftp deleted", "device deleted"}},
        DisconnectCase{"BluetoothTwoSockets", TComm::kBluetooth, {1, 3}, true, false, false,
                       {"device deleted"}}),
    [](const testing::TestParamInfo<DisconnectCase>& info) {
        return std::string(info.param.name);
    });

TEST(PortLifetime, DestroyingAConnectedPortDisconnectsIt)
{
    std::vector<std::string> log;
    events = &log;
    {
        ScriptedSocketFactory factory;
        SocketFactoryOverride use(factory);
        auto* port = new TBthPort;
        port->services.Append(new BT_SERVICE_STRUCT);
        Socket* s = factory.CreateSocket(*port, 1);
        s->Open();
        port->AddSocket(s);
        port->device = new LoggedDevice(port);
        port->device->fileAccess = new LoggedFTP;
        delete port;
        EXPECT_EQ(factory.Log(),
                  (std::vector<std::string>{"open 1", "close 1", "delete 1"}));
    }
    events = nullptr;
    EXPECT_EQ(log, (std::vector<std::string>{"ftp disconnect", "ftp deleted", "device deleted"}));
}

TEST(PortLifetime, RunningWorkEndsBeforeTheFileAccessGoes)
{
    // A window's worker (a listing, a delete) must not be using the session when it goes.
    struct LoggedWork : StoppableWork {
        void StopAndWait() override { Note("work stopped"); }
    } work;
    std::vector<std::string> log;
    events = &log;
    {
        ScriptedSocketFactory factory;
        SocketFactoryOverride use(factory);
        TSerialPort port;
        Socket* s = factory.CreateSocket(port, 1);
        s->Open();
        port.AddSocket(s);
        port.device = new LoggedDevice(&port);
        port.device->fileAccess = new LoggedFTP;
        port.device->AddWork(&work);
        port.Disconnect();
    }
    events = nullptr;
    EXPECT_EQ(log, (std::vector<std::string>{"work stopped", "release 1 open", "ftp disconnect", "ftp deleted",
                                             "device deleted", "work stopped"}));
}

TEST(PortLifetime, MarkChanged)
{
    TSerialPort port;
    port.MarkChanged(true);
    EXPECT_TRUE(port.changed);
    EXPECT_TRUE(port.gone);
    port.MarkChanged(false);
    EXPECT_FALSE(port.gone);
}

}  // namespace
