// A scan as the program runs it, without the window: the registry poll of the serial ports,
// the port list and the settings. Every COM name but the test's own is excluded, so that
// simulators of tests running beside this one are never opened.
#pragma once

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "devices/TComm.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "discovery/ScanProgressState.h"
#include "discovery/win/SystemPortPollers.h"

class CountingObserver : public PortListObserver {
public:
    void ReleasePort(TComm* port) override { released.push_back(port->displayName.CStr()); }
    void PortsChanged() override { ++changes; }
    std::vector<std::string> released;
    int changes = 0;
};

class Scanner {
public:
    explicit Scanner(const std::set<std::string>& own)
    {
        store.values.firstRun = false;
        store.values.scanIrDA = false;
        store.values.scanBluetooth = false;
        for (int n = 1; n <= 99; ++n) {
            std::string name = "COM" + std::to_string(n);
            if (own.count(name) != 0)
                continue;
            auto* record = new EXCLUDEPORTS;
            record->name = name.c_str();
            store.ExcludedPorts.Append(record);
        }
    }
    void Scan() { Scan(pollers); }
    void Scan(PortPollers& polls)
    {
        progress.Show();
        RunDiscoveryCycle(list, polls, observer, progress, closing);
    }
    TComm* Port(const std::string& com)
    {
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
            if (it.CurrentItem()->portName.Equals(com.c_str()))
                return it.CurrentItem();
        }
        return nullptr;
    }

    SettingsStore store;
    PortList list{store};
    SystemPortPollers pollers{list};
    CountingObserver observer;
    ScanProgressState progress;
    std::atomic<bool> closing{false};
};

