// The Bluetooth poll of a scan: the local radio (whose in-range notifications go to the main
// window), one port per device the radio knows, and each device's service records.
//
// The radio handle and the notification registration of the last poll are held until the
// next poll or the end of the program; a poll releases them before it takes new ones. A
// failure the user should hear of is reported once per program run: a device out of range
// fails its lookup on every scan, and the scan must not wait behind a box each time.
#pragma once

#include <atomic>

#include "core/List.h"
#include "core/MessageReporter.h"
#include "discovery/BluetoothSystem.h"

class PortList;
class TComm;
class TBthPort;

class BluetoothDiscovery {
public:
    explicit BluetoothDiscovery(BluetoothSystem& system);
    // Releases the radio and the notification registration.
    ~BluetoothDiscovery();
    BluetoothDiscovery(const BluetoothDiscovery&) = delete;
    BluetoothDiscovery& operator=(const BluetoothDiscovery&) = delete;

    // The window that receives the radio's notifications; none is registered until it is
    // known (the pollers exist before the main window).
    void SetWindow(WindowHandle window) { notifyWindow.store(window); }

    // Appends the ports of the known devices (or the placeholder when the radio knows none);
    // answers whether the Bluetooth API and a radio were found.
    bool Poll(PortList& list, List<TComm>& found);
    // Takes the local radios, the last one kept; false when there is none.
    bool FindRadios();
    // False when the radio knows no device (found then gets the placeholder).
    bool ListBluetoothDevices(PortList& list, List<TComm>& found);
    // Replaces the port's service records by those the device offers now.
    void LookupServices(TBthPort& port);

private:
    void ReleaseRadio();
    void AddService(TBthPort& port, const ServiceLookupResult& result);
    void ReportLookupFailure(const char* text, const char* caption);

    BluetoothSystem& system;
    std::atomic<WindowHandle> notifyWindow{nullptr};
    BluetoothSystem::Handle radio = 0;
    BluetoothSystem::Handle radioNotification = 0;
    bool registrationFailureReported = false;
    bool lookupFailureReported = false;
};
