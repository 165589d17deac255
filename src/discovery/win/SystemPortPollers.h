// The polls a scan runs on Windows: serial enumeration, and the IrDA and Bluetooth discovery.
// Where the system has no IrDA or Bluetooth those kinds find nothing and report their
// transports unavailable, without a word to the user.
#pragma once

#include <windows.h>

#include <atomic>

#include "discovery/BluetoothDiscovery.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/win/WinBluetoothSystem.h"
#include "discovery/win/WinIrdaSystem.h"

class PortList;

class SystemPortPollers : public PortPollers {
public:
    explicit SystemPortPollers(PortList& list) : list(list) {}

    // The main window, once it exists: the Bluetooth radio's notifications go to it.
    void SetWindow(HWND window) { bluetooth.SetWindow(window); }

    void PollSerial(List<TComm>& found) override;
    void PollIrDA(List<TComm>& found) override;
    void PollBluetooth(List<TComm>& found) override;

    // What the last polls found (also kept in the application core, when there is one).
    bool IrdaAvailable() const { return irdaAvailable.load(); }
    bool BluetoothAvailable() const { return bluetoothAvailable.load(); }

private:
    PortList& list;
    WinIrdaSystem irdaSystem;
    WinBluetoothSystem bluetoothSystem;
    BluetoothDiscovery bluetooth{bluetoothSystem};  // releases its handles before the API goes
    std::atomic<bool> irdaAvailable{false};
    std::atomic<bool> bluetoothAvailable{false};
};
