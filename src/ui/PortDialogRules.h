// The ports dialog's decisions, apart from its window: what a row of the port list shows, how
// the working exclusions follow the rows' check boxes, how the kind switches add and remove
// working ports, and what OK writes back into the port list and the settings.
//
// The working ports are pointers into the port list that the dialog does not own. A scan may
// destroy a port while the dialog is open, so every function that reads working ports takes the
// list's lock and first drops those the list no longer holds; a dropped pointer is only ever
// compared, never followed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "core/List.h"
#include "core/Settings.h"
#include "toolkit/ListRows.h"

class PortList;
class TComm;

// Pictures of the port-state image list (icons 21, 22, 23); -1 draws none.
enum PortPicture : int32_t { kPictureNone = -1, kPictureApart = 0, kPicturePlugged = 1, kPictureGreyed = 2 };

// One flag per kind of port: serial, IrDA, Bluetooth (the TComm kinds 0, 1, 2).
struct PortKinds {
    bool on[3] = {false, false, false};
    bool Has(int32_t kind) const { return kind >= 0 && kind < 3 && on[kind]; }
};

// A row of the port list: its look and the port it stands for, with the port's kind and
// display name copied so that the exclusions can follow the row without the port.
struct PortRow {
    ListBoxRow look;
    const TComm* port = nullptr;
    int32_t kind = 0;
    GString name;
};

// The row of a port: a check box for a usable serial port or a port that connects by itself,
// checked unless the working exclusions switch the port off; greyed when not usable.
PortRow RowForPort(const TComm& port, const List<EXCLUDEPORTS>& exclusions);
// -1 for a greyed row; 1 for an open port; otherwise 0 when checked, 2 when not.
int32_t StatePicture(const ListBoxRow& look, bool isOpen);

// Brings the working exclusions in step with the rows: a row with a check box is excluded
// exactly while it is unchecked; the selected row without a check box loses its record. Every
// row takes part, so a check box toggled with the mouse counts even when the selection moved
// on without a notification. True when the exclusions changed.
bool SyncExclusions(List<EXCLUDEPORTS>& exclusions, const std::vector<PortRow>& rows, int selected);

// The working ports as the dialog opens: the list's ports, in order (those being disconnected
// excepted). Takes the lock.
void CopyListedPorts(PortList& list, List<TComm>& working);
// Drops the working ports the list no longer holds, then answers the rows of those left.
// Takes the lock.
std::vector<PortRow> RowsForWorkingPorts(PortList& list, List<TComm>& working, const List<EXCLUDEPORTS>& exclusions);
// A kind turned on: appends every port of the list of a kind that is on and not among the
// working ports yet. The list holds one object per port, so a port is among the working ports
// exactly when its object is. Takes the lock.
void AddPortsOfKinds(PortList& list, List<TComm>& working, const PortKinds& kinds);
// A kind turned off: removes the working ports whose kind is off. Takes the lock.
void RemovePortsOfKinds(PortList& list, List<TComm>& working, const PortKinds& kinds);

// Whether a kind's check box can be used: IrDA and Bluetooth need their transport, but a kind
// that is not scanned has not been looked for, so its box stays usable to switch it on.
bool KindSwitchUsable(int32_t kind, const PortKinds& available, const PortKinds& scanned);

// The user's edits of the exclusions (before -> after) made on the settings' list, which a
// scan may have extended meanwhile: records added and removed, the rest kept. True when the
// list changed.
bool ApplyExclusionEdits(List<EXCLUDEPORTS>& target, const List<EXCLUDEPORTS>& before,
                         const List<EXCLUDEPORTS>& after);

// OK: stores the scan switches and the exclusion edits, brings the line settings records of the
// working serial ports up to date, and then follows the choices in the port list: a port
// missing from the working ports is marked for disconnection, a usable port switched off loses
// included (and, connected, is marked for disconnection), one switched on gets it. A port whose
// device is busy is not marked: the scan would disconnect it under the running operation. Such
// a port of a kind switched off goes with the scan that follows, once its device is idle; one
// switched off stays connected until a later OK or the program's end, and is not opened again.
// Working ports the list no longer holds are dropped. Takes the lock. True when a new discovery
// cycle is needed.
bool ApplyPortChoices(PortList& list, List<TComm>& working, const PortKinds& scan,
                      const List<EXCLUDEPORTS>& exclusionsBefore, const List<EXCLUDEPORTS>& exclusionsAfter);
