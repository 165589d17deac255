// One discovery cycle and the port-list operations it is made of: poll the enabled port
// kinds, merge what was found into the port list, let go of vanished ports, and connect the
// ports that should be connected. The Windows thread runs it; tests drive it with fake polls.
#pragma once

#include <atomic>

#include "core/List.h"
#include "discovery/ScanProgress.h"

class PortList;
class TComm;

// The polls of the port kinds: each appends the ports it finds (new objects, owned by the
// list from then on).
class PortPollers {
public:
    virtual ~PortPollers() = default;
    virtual void PollSerial(List<TComm>& found) = 0;
    virtual void PollIrDA(List<TComm>& found) = 0;
    virtual void PollBluetooth(List<TComm>& found) = 0;
};

// The user interface's side of the port list.
class PortListObserver {
public:
    virtual ~PortListObserver() = default;
    // A port is about to be disconnected or destroyed: its button goes, and the selection
    // when it was the selected port.
    virtual void ReleasePort(TComm* port) = 0;
    // The list changed: the device list is rebuilt.
    virtual void PortsChanged() = 0;
};

// Found ports with no same port in the list join it; the others are destroyed (the known
// port keeps its connection). Known ports not found again are marked gone. found is empty
// afterwards.
void MergeFoundPorts(PortList& list, List<TComm>& found);
// On the first start (no settings file) every serial port is excluded and recorded so,
// until the user switches it on; later starts change nothing.
void ExcludeSerialPortsOnFirstRun(PortList& list);
// Connects every port that should be: not excluded, not identified, a real port, and for
// IrDA and Bluetooth one that discovery marked for connecting. A port that fails is
// disconnected and tried again by the next scan. Stops when the progress is cancelled.
void OpenPorts(PortList& list, ScanProgress* progress);
// Disconnects the ports marked changed and destroys those also marked gone -- except a gone
// port whose device is busy, which stays (marked) until its device is idle. The observer
// lets go of each port first and hears of the change at the end.
void ProcessChangedPorts(PortList& list, PortListObserver& observer);

// Whether the port is still in the list and nobody is disconnecting it; inside Lock(). Code
// that kept a port pointer across a message loop (a popup menu, a file dialog) asks this
// before it touches the port again.
bool IsListedPort(PortList& list, const TComm* port);
// The user's disconnect: takes a listed port whose device is idle (marks it changed, not
// gone, and keeps every other walk of the list away from it); false when the port went, is
// being disconnected already or its device is busy. Inside Lock().
bool TakePortForDisconnect(PortList& list, TComm* port);
// Gives back a taken port that will not be disconnected after all. Inside Lock().
void ReturnTakenPort(PortList& list, TComm* port);
// Disconnects a taken port on the calling thread; the observer lets go of it first and hears
// of the change at the end. The port stays in the list, ready for the next scan.
void DisconnectTakenPort(PortList& list, TComm* port, PortListObserver& observer);

// The ports' part of closing the program: the work running on each phone is stopped and
// waited for, then every port is disconnected (its observer letting go of it first) and
// destroyed. Nothing else may disconnect ports meanwhile: scans and the window's own
// disconnects were stopped before.
void CloseAllPorts(PortList& list, PortListObserver& observer);

// Steps 2 to 8 of a scan: the progress window is shown already. cancel is the closing
// thread's request to stop, taken like the user's cancel.
void RunDiscoveryCycle(PortList& list, PortPollers& polls, PortListObserver& observer,
                       ScanProgress& progress, const std::atomic<bool>& cancel);
