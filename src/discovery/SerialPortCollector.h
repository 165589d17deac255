// Where the serial poll puts the COM ports it lists: ports of the IrDA and Bluetooth stacks
// go to the virtual serial ports (their devices are reached through those transports), the
// others get the user's exclusion and saved line settings and join the scan's found list.
#pragma once

#include "core/List.h"
#include "core/Settings.h"

class PortList;
class TComm;
class TSerialPort;

// Copies the saved baud rate and line levels into the port, which then no longer uses the
// defaults.
void ApplySerialSettings(TSerialPort& port, const EXT_LIST_SERIALPORTS& record);

class SerialPortCollector {
public:
    // Empties the port list's virtual serial ports (destroying them): each poll refills them.
    SerialPortCollector(PortList& list, List<TComm>& found);

    // Takes the port (owned from here on): it is kept, or destroyed when a same port is
    // already listed.
    void Add(TSerialPort* port);
    // The entry that stands for "no serial ports of this kind could be listed".
    void AddPlaceholder();
    // Ports added to the found list by this collector.
    uint32_t Added() const { return added; }

private:
    PortList& list;
    List<TComm>& found;
    uint32_t added = 0;
};
