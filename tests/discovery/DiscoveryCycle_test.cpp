// The discovery cycle over fake polls and ports: merge, vanished ports, first start, which
// ports are opened, cancelling, and the list shared with a second thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "devices/Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "discovery/ScanProgressState.h"

namespace {

using Names = std::vector<std::string>;

std::atomic<int> alivePorts{0};

// Ports whose connection the test decides; they count themselves.
template <class Base>
class FakePort : public Base {
public:
    FakePort() { ++alivePorts; }
    ~FakePort() override { --alivePorts; }
    bool Connect(ConnectProgress* progress) override
    {
        ++connects;
        if (progress != nullptr && progress->IsCancelled())
            return false;
        this->isOpen = true;
        if (!connectResult)
            return false;
        this->device = new Device(this);
        this->device->name = this->displayName;
        this->identified = true;
        return true;
    }
    bool Identify() override { return connectResult; }
    int connects = 0;
    bool connectResult = true;
};

using FakeSerial = FakePort<TSerialPort>;
using FakeIrda = FakePort<TIrDAPort>;
using FakeBth = FakePort<TBthPort>;

// What each poll finds, made anew for every poll as the system would.
class FakePolls : public PortPollers {
public:
    void PollSerial(List<TComm>& found) override
    {
        ++serialPolls;
        for (const std::string& name : serial) {
            auto* port = new FakeSerial;
            port->portName = name.c_str();
            port->displayName = name.c_str();
            port->connectResult = !failing;
            found.Append(port);
        }
        if (afterSerial)
            afterSerial();
    }
    void PollIrDA(List<TComm>& found) override
    {
        ++irdaPolls;
        for (uint8_t id : irda) {
            auto* port = new FakeIrda;
            port->portName = "IrDA";
            port->displayName = GString("Инфракрасный порт - ").Concat(GString(uint32_t{id}));
            port->irdaAddress[0] = id;
            port->autoConnect = true;
            found.Append(port);
        }
    }
    void PollBluetooth(List<TComm>& found) override
    {
        ++bluetoothPolls;
        for (uint8_t id : bluetooth) {
            auto* port = new FakeBth;
            port->portName = "Bluetooth";
            port->displayName = GString("BT ").Concat(GString(uint32_t{id}));
            uint8_t address[8] = {id};
            port->SetAddress(address);
            port->autoConnect = autoConnectBluetooth;
            found.Append(port);
        }
    }

    Names serial;
    std::vector<uint8_t> irda;
    std::vector<uint8_t> bluetooth;
    bool autoConnectBluetooth = true;
    bool failing = false;
    std::function<void()> afterSerial;
    int serialPolls = 0;
    int irdaPolls = 0;
    int bluetoothPolls = 0;
};

class RecordingObserver : public PortListObserver {
public:
    void ReleasePort(TComm* port) override { events.push_back(std::string("release ") + port->displayName.CStr()); }
    void PortsChanged() override { events.push_back("changed"); }
    Names events;
};

class RecordingProgress : public ScanProgressState {
public:
    void SetText(const GString& text) override
    {
        texts.push_back(text.CStr());
        ScanProgressState::SetText(text);
    }
    Names texts;
};

class CycleTest : public testing::Test {
protected:
    CycleTest()
    {
        store.values.firstRun = false;
        progress.Show();
    }
    ~CycleTest() override
    {
        list.DestroyAll();
        EXPECT_EQ(alivePorts.load(), 0) << "ports leaked or destroyed twice";
    }

    void Scan() { RunDiscoveryCycle(list, polls, observer, progress, closing); }

    Names PortNames()
    {
        Names names;
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next())
            names.push_back(it.CurrentItem()->displayName.CStr());
        return names;
    }
    TComm* Port(const char* displayName)
    {
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
            if (it.CurrentItem()->displayName.Equals(displayName))
                return it.CurrentItem();
        }
        return nullptr;
    }
    template <class P>
    int Connects(const char* displayName)
    {
        return static_cast<P*>(Port(displayName))->connects;
    }
    void Exclude(int32_t kind, const char* name)
    {
        auto* record = new EXCLUDEPORTS;
        record->kind = kind;
        record->name = name;
        store.ExcludedPorts.Append(record);
    }

    SettingsStore store;
    PortList list{store};
    FakePolls polls;
    RecordingObserver observer;
    RecordingProgress progress;
    std::atomic<bool> closing{false};
};

TEST_F(CycleTest, FirstScanTakesThePortsInTheOrderOfDiscovery)
{
    polls.serial = {"COM1", "COM2"};
    polls.irda = {7};
    polls.bluetooth = {9};
    Scan();
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2", "Инфракрасный порт - 7", "BT 9"}));
    EXPECT_TRUE(Port("COM1")->identified);
    EXPECT_TRUE(Port("BT 9")->identified);
    EXPECT_EQ(alivePorts.load(), 4);
    EXPECT_FALSE(progress.IsShown());  // closed at the end
    EXPECT_EQ(observer.events, (Names{"changed", "changed"}));
}

TEST_F(CycleTest, KnownPortsAreKeptWithTheirConnectionAndNewOnesAppended)
{
    polls.serial = {"COM1", "COM2"};
    Scan();
    TComm* com1 = Port("COM1");
    Device* device = com1->device;

    polls.serial = {"COM3", "COM2", "COM1"};
    Scan();
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2", "COM3"}));
    EXPECT_EQ(Port("COM1"), com1);
    EXPECT_EQ(com1->device, device);  // not reconnected
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 1);
    EXPECT_EQ(Connects<FakeSerial>("COM3"), 1);
    // The duplicates the second poll made were destroyed.
    EXPECT_EQ(alivePorts.load(), 3);
}

TEST_F(CycleTest, IrdaDevicesSharingAddressBytesStayApart)
{
    polls.irda = {7};
    Scan();
    polls.irda = {7, 8};  // address bytes 7 0 0 0 and 8 0 0 0
    Scan();
    EXPECT_EQ(PortNames(), (Names{"Инфракрасный порт - 7", "Инфракрасный порт - 8"}));
    EXPECT_EQ(Connects<FakeIrda>("Инфракрасный порт - 7"), 1);
}

TEST_F(CycleTest, VanishedPortIsReleasedAndDestroyed)
{
    polls.serial = {"COM1", "COM2"};
    Scan();
    observer.events.clear();
    polls.serial = {"COM2"};
    Scan();
    EXPECT_EQ(PortNames(), (Names{"COM2"}));
    EXPECT_EQ(alivePorts.load(), 1);
    EXPECT_EQ(observer.events, (Names{"release COM1", "changed", "changed", "changed"}));
}

TEST_F(CycleTest, VanishedPortWhoseDeviceIsBusyStaysUntilIdle)
{
    polls.serial = {"COM1", "COM2"};
    Scan();
    TComm* com1 = Port("COM1");
    com1->device->SetBusy();
    observer.events.clear();
    polls.serial = {"COM2"};
    Scan();
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2"}));
    EXPECT_TRUE(com1->gone);
    EXPECT_TRUE(com1->changed);
    EXPECT_TRUE(com1->identified);  // the running operation keeps its connection
    EXPECT_EQ(observer.events, (Names{"changed", "changed", "changed"}));

    // Found again while still busy: no second object for the same port.
    polls.serial = {"COM1", "COM2"};
    Scan();
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2"}));
    EXPECT_TRUE(com1->gone);

    com1->device->ClearBusy();
    observer.events.clear();
    ProcessChangedPorts(list, observer);
    EXPECT_EQ(PortNames(), (Names{"COM2"}));
    EXPECT_EQ(observer.events, (Names{"release COM1", "changed"}));
    EXPECT_EQ(alivePorts.load(), 1);
}

TEST_F(CycleTest, WithEveryKindSwitchedOffEveryPortGoes)
{
    polls.serial = {"COM1"};
    polls.irda = {1};
    Scan();
    store.values.scanSerial = false;
    store.values.scanIrDA = false;
    store.values.scanBluetooth = false;
    Scan();
    EXPECT_TRUE(PortNames().empty());
    EXPECT_EQ(polls.serialPolls, 1);
    EXPECT_EQ(polls.irdaPolls, 1);
    EXPECT_EQ(progress.RangeHigh(), 1u);  // a range of 0 counts as 1
    EXPECT_EQ(alivePorts.load(), 0);
}

TEST_F(CycleTest, FirstStartExcludesEverySerialPortAndOpensNone)
{
    store.values.firstRun = true;
    Exclude(TComm::kSerial, "COM2");
    polls.serial = {"COM1", "COM2"};
    polls.irda = {5};
    Scan();
    EXPECT_FALSE(store.values.firstRun);
    Names excluded;
    for (ListIterator<EXCLUDEPORTS> it(store.ExcludedPorts); !it.IsDone(); it.Next())
        excluded.push_back(std::to_string(it.CurrentItem()->kind) + " " + it.CurrentItem()->name.CStr());
    EXPECT_EQ(excluded, (Names{"0 COM2", "0 COM1"}));
    EXPECT_FALSE(Port("COM1")->included);
    EXPECT_FALSE(Port("COM2")->included);
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 0);
    EXPECT_EQ(Connects<FakeSerial>("COM2"), 0);
    EXPECT_EQ(Connects<FakeIrda>("Инфракрасный порт - 5"), 1);

    // Later serial ports are not touched by the rule any more.
    polls.serial = {"COM1", "COM2", "COM3"};
    Scan();
    EXPECT_EQ(store.ExcludedPorts.Count(), 2u);
    EXPECT_EQ(Connects<FakeSerial>("COM3"), 1);
}

TEST_F(CycleTest, WhichPortsAreOpened)
{
    Exclude(TComm::kSerial, "COM2");
    Exclude(TComm::kIrDA, "COM3");  // another kind with the same name does not exclude
    polls.serial = {"COM1", "COM2", "COM3"};
    polls.bluetooth = {1};
    polls.autoConnectBluetooth = false;
    Scan();
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 1);
    EXPECT_EQ(Connects<FakeSerial>("COM2"), 0);
    EXPECT_EQ(Connects<FakeSerial>("COM3"), 1);
    EXPECT_EQ(Connects<FakeBth>("BT 1"), 0);  // not marked for connecting

    // A placeholder entry is no port to open.
    auto* placeholder = new FakeSerial;
    placeholder->portName = "Последовательный порт";
    placeholder->displayName = "Последовательный порт - не поддерживается";
    placeholder->usable = false;
    {
        auto lock = list.Lock();
        list.ports.Append(placeholder);
    }
    OpenPorts(list, &progress);
    EXPECT_EQ(placeholder->connects, 0);
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 1);  // identified: left alone
}

TEST_F(CycleTest, FailedPortIsDisconnectedAndTriedAgainNextScan)
{
    polls.serial = {"COM1"};
    polls.failing = true;
    Scan();
    TComm* com1 = Port("COM1");
    EXPECT_FALSE(com1->isOpen);  // Disconnect ran
    EXPECT_FALSE(com1->identified);
    Scan();
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 2);
}

TEST_F(CycleTest, ProgressTextsAndSteps)
{
    polls.serial = {"COM1"};
    store.values.scanIrDA = false;
    Scan();
    EXPECT_EQ(progress.texts, (Names{"Опрос портов...", "Опрос последовательных портов...", "Опрос BlueTooth портов...",
                                     "Открытие порта «COM1»"}));
    EXPECT_EQ(progress.RangeHigh(), 2u);
}

TEST_F(CycleTest, CancelledScanKeepsTheKnownPortsAndNothingItFound)
{
    polls.serial = {"COM1"};
    Scan();
    ASSERT_EQ(alivePorts.load(), 1);

    progress.Show();
    polls.serial = {"COM2", "COM3"};
    polls.irda = {1};
    polls.afterSerial = [this] { progress.Cancel(); };
    observer.events.clear();
    Scan();
    EXPECT_EQ(polls.irdaPolls, 1);  // only the first scan polled IrDA
    EXPECT_EQ(polls.bluetoothPolls, 1);
    EXPECT_EQ(PortNames(), (Names{"COM1"}));
    EXPECT_FALSE(Port("COM1")->gone);
    EXPECT_EQ(alivePorts.load(), 1);  // what the cancelled poll found was destroyed
    EXPECT_EQ(observer.events, (Names{"changed", "changed"}));
    EXPECT_FALSE(progress.IsShown());
}

TEST_F(CycleTest, ClosingRequestStopsTheScanLikeACancel)
{
    polls.serial = {"COM1", "COM2"};
    polls.afterSerial = [this] { closing = true; };
    Scan();
    EXPECT_TRUE(PortNames().empty());
    EXPECT_EQ(polls.irdaPolls, 0);
    EXPECT_EQ(alivePorts.load(), 0);
}

TEST_F(CycleTest, CancelWhileOpeningStopsBeforeTheNextPort)
{
    polls.serial = {"COM1", "COM2", "COM3"};
    polls.failing = true;
    Scan();
    // Cancel once the first port was tried: the others are not opened.
    struct CancelAfterFirst : ScanProgressState {
        bool IsCancelled() override { return ++checks > 1; }
        int checks = 0;
    } cancelling;
    cancelling.Show();
    OpenPorts(list, &cancelling);
    EXPECT_EQ(Connects<FakeSerial>("COM1"), 2);
    EXPECT_EQ(Connects<FakeSerial>("COM2"), 1);
}

TEST_F(CycleTest, ChangedPortThatIsNotGoneIsDisconnectedAndKept)
{
    polls.serial = {"COM1", "COM2"};
    Scan();
    Port("COM2")->MarkChanged(false);
    observer.events.clear();
    ProcessChangedPorts(list, observer);
    EXPECT_EQ(PortNames(), (Names{"COM1", "COM2"}));
    EXPECT_FALSE(Port("COM2")->identified);
    EXPECT_EQ(Port("COM2")->device, nullptr);
    EXPECT_FALSE(Port("COM2")->changed);
    EXPECT_TRUE(Port("COM1")->identified);
    EXPECT_EQ(observer.events, (Names{"release COM2", "changed"}));
}

// A push or a file operation on a busy phone uses its device and sockets from its own thread:
// closing stops it and waits for it before the port is released and the device destroyed.
TEST_F(CycleTest, ClosingStopsThePhonesWorkBeforeItsPortGoes)
{
    class PhoneWork : public StoppableWork {
    public:
        void Start(Device* device)
        {
            running = true;
            device->AddWork(this);
            worker = std::thread([this, device] {
                while (!stop)
                    std::this_thread::yield();
                if (!orphaned)  // a failed close destroyed the device under the work
                    device->RemoveWork(this);
                running = false;
            });
        }
        void StopAndWait() override
        {
            stop = true;
            if (worker.joinable())
                worker.join();
        }
        ~PhoneWork() override { StopAndWait(); }
        std::atomic<bool> running{false};
        std::atomic<bool> stop{false};
        std::atomic<bool> orphaned{false};
        std::thread worker;
    } work;
    class ReleaseWatch : public PortListObserver {
    public:
        explicit ReleaseWatch(PhoneWork& work) : work(work) {}
        void ReleasePort(TComm*) override
        {
            if (work.running)
                workRanAtRelease = work.orphaned = true;
        }
        void PortsChanged() override {}
        PhoneWork& work;
        bool workRanAtRelease = false;
    } watch(work);

    polls.serial = {"COM1", "COM2"};
    Scan();
    Port("COM2")->device->SetBusy();
    work.Start(Port("COM2")->device);
    CloseAllPorts(list, watch);
    const bool stoppedFirst = !watch.workRanAtRelease;
    EXPECT_TRUE(stoppedFirst) << "the port was released while its phone's work still ran";
    EXPECT_TRUE(PortNames().empty());
    EXPECT_EQ(alivePorts.load(), 0);
}

// The main thread's side while scans run: it changes exclusions, disconnects ports and walks
// the list. Run under the sanitizers, a missing lock shows up as a use after free or a
// corrupted list.
constexpr int kPorts = 40;

TEST_F(CycleTest, ScansAndTheMainThreadShareTheList)
{
    class Churn : public PortPollers {
    public:
        void PollSerial(List<TComm>& found) override
        {
            ++round;
            for (int i = 0; i < kPorts; ++i) {
                if ((i + round) % 3 == 0)
                    continue;  // a third of the ports vanish each round
                auto* port = new FakeSerial;
                port->portName = GString("COM").Concat(GString(uint32_t(i)));
                port->displayName = port->portName;
                port->connectResult = (i % 4) != 0;
                found.Append(port);
            }
        }
        void PollIrDA(List<TComm>&) override {}
        void PollBluetooth(List<TComm>&) override {}
        int round = 0;
    } churn;
    static_assert(kPorts > 0);
    class Quiet : public PortListObserver {
    public:
        void ReleasePort(TComm*) override {}
        void PortsChanged() override {}
    } quiet;

    std::atomic<bool> stop{false};
    std::thread scanner([&] {
        for (int i = 0; i < 200; ++i) {
            ScanProgressState scanProgress;
            scanProgress.Show();
            RunDiscoveryCycle(list, churn, quiet, scanProgress, closing);
        }
        stop = true;
    });
    int toggles = 0;
    while (!stop) {
        {
            auto lock = list.Lock();
            GString name = GString("COM").Concat(GString(uint32_t(toggles % kPorts)));
            if (EXCLUDEPORTS* record = store.FindExcludedPort(TComm::kSerial, name)) {
                store.ExcludedPorts.Remove(record);
                delete record;
            } else {
                Exclude(TComm::kSerial, name.CStr());
            }
            // The disconnect command on an identified port.
            for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
                if (!list.IsProcessing(it.CurrentItem()) && it.CurrentItem()->identified && (toggles % 5) == 0) {
                    it.CurrentItem()->MarkChanged(false);
                    break;
                }
            }
        }
        ProcessChangedPorts(list, quiet);
        {
            // The device list rebuild reads the names of the identified phones.
            auto lock = list.Lock();
            uint32_t length = 0;
            for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
                if (!list.IsProcessing(it.CurrentItem()) && it.CurrentItem()->device != nullptr)
                    length += it.CurrentItem()->device->name.Length();
            }
            EXPECT_LT(length, 1000u);
        }
        ++toggles;
    }
    scanner.join();
    EXPECT_GT(toggles, 0);
    EXPECT_LE(list.Count(), uint32_t(kPorts));
}

}  // namespace
