// Scans under Wine against simulated phones on mapped COM ports: the ports are found through
// the registry, the phones identified with their model, kept by later scans and dropped when
// their port goes away.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "devices/NOKIA_Device.h"
#include "devices/SAMSUNG_Device.h"
#include "devices/SIEMENS_Device.h"
#include "devices/TSerialPort.h"
#include "discovery/win/ScanSetup.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "support/win/SimLog.h"
#include "transport/Socket.h"

namespace {

using Names = std::vector<std::string>;

struct PhoneCase {
    const char* profile;
    const char* model;  // "generic", "siemens", "nokia", "samsung"
    const char* name;
    const char* manufacturer;
    const char* modelText;
    const char* serial;
    const char* software;
};

const char* ModelOf(Device* device)
{
    if (dynamic_cast<SIEMENS_Device*>(device) != nullptr)
        return "siemens";
    if (dynamic_cast<NOKIA_Device*>(device) != nullptr)
        return "nokia";
    if (dynamic_cast<SAMSUNG_Device*>(device) != nullptr)
        return "samsung";
    return device != nullptr ? "generic" : "none";
}

TEST(SerialScan, FindsAndIdentifiesFourPhones)
{
    const PhoneCase phones[] = {
        {"generic", "generic", "Generic GSM Phone", "Generic", "GSM Phone", "350000000000001", "1.00"},
        {"nokia", "nokia", "NOKIA Nokia 6230i", "NOKIA", "Nokia 6230i", "351234567890123", "V 03.80"},
        {"siemens", "siemens", "SIEMENS S65", "SIEMENS", "S65", "354000000000003", "25"},
        {"samsung", "samsung", "SAMSUNG SGH-E250", "SAMSUNG", "SGH-E250", "357000000000009", "E250XXHE1"},
    };
    std::vector<std::unique_ptr<PhoneSim>> sims;
    std::set<std::string> own;
    for (const PhoneCase& phone : phones) {
        sims.push_back(std::make_unique<PhoneSim>(std::vector<std::string>{"--profile", phone.profile}));
        ASSERT_TRUE(sims.back()->Ready()) << sims.back()->Error();
        own.insert(sims.back()->ComName());
    }
    MessageBoxRecorder boxes;
    Scanner scanner(own);
    scanner.Scan();
    for (size_t i = 0; i < sims.size(); ++i) {
        SCOPED_TRACE(phones[i].profile);
        TComm* port = scanner.Port(sims[i]->ComName());
        ASSERT_NE(port, nullptr) << "not listed";
        // Found through the system's list of COM names: named by it, opened by it.
        EXPECT_STREQ(port->displayName.CStr(), sims[i]->ComName().c_str());
        EXPECT_EQ(std::string(port->devicePath.CStr()), sims[i]->DevicePath());
        ASSERT_TRUE(port->identified);
        EXPECT_STREQ(ModelOf(port->device), phones[i].model);
        EXPECT_STREQ(port->device->name.CStr(), phones[i].name);
        EXPECT_STREQ(port->info[TComm::kManufacturer].CStr(), phones[i].manufacturer);
        EXPECT_STREQ(port->info[TComm::kModel].CStr(), phones[i].modelText);
        EXPECT_STREQ(port->info[TComm::kSerialNumber].CStr(), phones[i].serial);
        EXPECT_STREQ(port->info[TComm::kSoftwareVersion].CStr(), phones[i].software);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SerialScan, SecondScanKeepsIdentifiedPortsAndDropsVanishedOnes)
{
    PhoneSim staying({"--profile", "siemens"});
    PhoneSim leaving({"--profile", "nokia"});
    ASSERT_TRUE(staying.Ready()) << staying.Error();
    ASSERT_TRUE(leaving.Ready()) << leaving.Error();
    MessageBoxRecorder boxes;
    Scanner scanner({staying.ComName(), leaving.ComName()});
    scanner.Scan();
    TComm* kept = scanner.Port(staying.ComName());
    ASSERT_NE(kept, nullptr);
    ASSERT_TRUE(kept->identified);
    Device* device = kept->device;
    ASSERT_NE(scanner.Port(leaving.ComName()), nullptr);
    const int resetsBefore = LinesFromPc(staying.Log(), "ATZ");
    EXPECT_EQ(resetsBefore, 1);

    leaving.Stop();  // its pty link goes with it
    scanner.Scan();
    EXPECT_EQ(scanner.Port(staying.ComName()), kept);
    EXPECT_EQ(kept->device, device);
    EXPECT_EQ(LinesFromPc(staying.Log(), "ATZ"), resetsBefore);  // not talked to again
    EXPECT_EQ(scanner.Port(leaving.ComName()), nullptr);
    EXPECT_EQ(scanner.observer.released, (Names{leaving.ComName()}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A COM port of the prefix that no simulator uses while the test holds it (the simulators'
// lock protocol); its mapping points at nothing.
class UnlinkedPort {
public:
    UnlinkedPort()
    {
        const char* build = std::getenv("QV_BUILD");
        if (build == nullptr)
            return;
        for (int n = 29; n >= 10 && lock == INVALID_HANDLE_VALUE; --n) {
            std::string name = "COM" + std::to_string(n);
            std::string lockPath = PhoneSim::WinePath(std::string(build) + "/ports/" + name + ".lock");
            lock = CreateFileA(lockPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
            if (lock != INVALID_HANDLE_VALUE)
                comName = name;
        }
    }
    ~UnlinkedPort()
    {
        if (lock != INVALID_HANDLE_VALUE)
            CloseHandle(lock);
    }
    std::string comName;

private:
    HANDLE lock = INVALID_HANDLE_VALUE;
};

Names Listed(Scanner& scanner)
{
    List<TComm> found;
    scanner.pollers.PollSerial(found);
    Names listed;
    for (ListIterator<TComm> it(found); !it.IsDone(); it.Next())
        listed.push_back(it.CurrentItem()->portName.CStr());
    found.DeleteAll();
    return listed;
}

bool Contains(const Names& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Wine lists every mapped COM name, and even opens one whose mapping points at nothing; the
// poll lists only the ports with a device behind them.
TEST(SerialScan, MappedPortsWithoutADeviceAreNotListed)
{
    UnlinkedPort unlinked;
    ASSERT_FALSE(unlinked.comName.empty());
    PhoneSim sim({"--profile", "generic"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    Scanner scanner({sim.ComName()});
    DWORD start = GetTickCount();
    Names listed = Listed(scanner);
    DWORD spent = GetTickCount() - start;
    EXPECT_TRUE(Contains(listed, sim.ComName()));
    EXPECT_FALSE(Contains(listed, unlinked.comName));
    sim.Stop();
    EXPECT_FALSE(Contains(Listed(scanner), sim.ComName()));
    std::printf("serial poll: %u ms, %u ports listed\n", static_cast<unsigned>(spent),
                static_cast<unsigned>(listed.size()));
}

// What opening such a port would do: Wine opens it, and the line settings fail at once --
// one error message, no waiting.
TEST(SerialScan, OpeningAMappingWithoutADeviceFailsAtOnce)
{
    UnlinkedPort unlinked;
    ASSERT_FALSE(unlinked.comName.empty());
    MessageBoxRecorder boxes;
    TSerialPort port;
    port.portName = unlinked.comName.c_str();
    port.displayName = unlinked.comName.c_str();
    EXPECT_FALSE(port.Connect(nullptr));
    // The line never opened, so no command was written and no answer awaited.
    ASSERT_EQ(port.sockets.Count(), 1u);
    EXPECT_FALSE(port.sockets.Get(0)->IsOpen());
    port.Disconnect();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    std::printf("connecting %s without a device: message \"%s\"\n", unlinked.comName.c_str(),
                boxes.Boxes().empty() ? "" : boxes.Boxes()[0].text.c_str());
}

}  // namespace
