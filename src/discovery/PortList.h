// The process-wide list of known ports. The discovery thread rebuilds it while the main
// thread reads it and the port dialog changes the exclusions, so every walk or change of the
// list happens inside Lock() -- the settings store's lock, which also guards the exclusion
// and line-settings records the scan reads. The lock is short: nothing slow (connecting,
// disconnecting, destroying a port, sending a window message) is done while holding it.
#pragma once

#include <mutex>

#include "core/List.h"
#include "core/Settings.h"
#include "devices/TComm.h"
#include "devices/TSerialPort.h"

class PortList {
public:
    explicit PortList(SettingsStore& store) : store(store) {}
    PortList(const PortList&) = delete;
    PortList& operator=(const PortList&) = delete;
    // Destroys the ports still known.
    ~PortList();

    std::unique_lock<std::mutex> Lock() { return store.Lock(); }
    SettingsStore& Settings() { return store; }

    // Unlinks every port (those being disconnected by ProcessChangedPorts excepted) and
    // destroys them outside the lock.
    void DestroyAll();
    // Number of known ports.
    uint32_t Count();
    // Whether ProcessChangedPorts is disconnecting the port; call inside Lock().
    bool IsProcessing(const TComm* port) const;

    List<TComm> ports;  // owned; in the order of discovery
    // Ports ProcessChangedPorts is disconnecting right now: no other walk takes them.
    List<TComm> processing;
    // Serial ports of the IrDA and Bluetooth stacks, refilled by each serial poll; owned.
    List<TSerialPort> virtualSerialPorts;

private:
    SettingsStore& store;
};
