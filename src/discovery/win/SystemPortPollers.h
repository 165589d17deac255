// The polls a scan runs on Windows: serial enumeration, and the IrDA and Bluetooth
// discovery, which this build does not provide yet -- those kinds find nothing and report
// their transports unavailable.
#pragma once

#include "discovery/DiscoveryCycle.h"

class PortList;

class SystemPortPollers : public PortPollers {
public:
    explicit SystemPortPollers(PortList& list) : list(list) {}

    void PollSerial(List<TComm>& found) override;
    void PollIrDA(List<TComm>& found) override;
    void PollBluetooth(List<TComm>& found) override;

private:
    PortList& list;
};
