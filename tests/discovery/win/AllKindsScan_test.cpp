// A scan of all three port kinds on a system without IrDA and Bluetooth (as Wine is): the
// serial phone is found as before, the other kinds report unavailable, and nobody is asked.
#include <gtest/gtest.h>
#include <winsock2.h>

#include "discovery/win/ScanSetup.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"

namespace {

// The system's polls, with what each added to the scan.
class PollWitness : public PortPollers {
public:
    explicit PollWitness(PortPollers& system) : system(system) {}
    void PollSerial(List<TComm>& found) override { Run(&PortPollers::PollSerial, found, serial); }
    void PollIrDA(List<TComm>& found) override { Run(&PortPollers::PollIrDA, found, irda); }
    void PollBluetooth(List<TComm>& found) override { Run(&PortPollers::PollBluetooth, found, bluetooth); }
    int serial = -1, irda = -1, bluetooth = -1;  // ports added; -1: not polled

private:
    void Run(void (PortPollers::*poll)(List<TComm>&), List<TComm>& found, int& added)
    {
        const uint32_t before = found.Count();
        (system.*poll)(found);
        added = static_cast<int>(found.Count() - before);
    }
    PortPollers& system;
};

TEST(AllKindsScan, FindsTheSerialPhoneAndReportsIrdaAndBluetoothUnavailableQuietly)
{
    WSADATA wsa{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    SOCKET irda = socket(AF_IRDA, SOCK_STREAM, 0);
    ASSERT_EQ(irda, INVALID_SOCKET) << "this test expects a system without IrDA";
    std::printf("socket(AF_IRDA) refused with error %d\n", WSAGetLastError());

    PhoneSim sim({"--profile", "siemens"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    MessageBoxRecorder boxes;
    {
        Scanner scanner({sim.ComName()});
        scanner.store.values.scanIrDA = true;
        scanner.store.values.scanBluetooth = true;
        PollWitness polls(scanner.pollers);
        scanner.Scan(polls);
        EXPECT_GE(polls.serial, 1);
        EXPECT_EQ(polls.irda, 0);
        EXPECT_EQ(polls.bluetooth, 0);
        TComm* phone = scanner.Port(sim.ComName());
        ASSERT_NE(phone, nullptr);
        EXPECT_TRUE(phone->identified);
        EXPECT_FALSE(scanner.pollers.IrdaAvailable());
        EXPECT_FALSE(scanner.pollers.BluetoothAvailable());
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    WSACleanup();
}

}  // namespace
