#include "ui/PortDialogRules.h"

#include "devices/Device.h"
#include "devices/TComm.h"
#include "devices/TSerialPort.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"

namespace {

void DropUnlisted(PortList& list, List<TComm>& working)
{
    List<TComm> stale;
    for (ListIterator<TComm> it(working); !it.IsDone(); it.Next()) {
        if (!IsListedPort(list, it.CurrentItem()))
            stale.Append(it.CurrentItem());
    }
    for (ListIterator<TComm> it(stale); !it.IsDone(); it.Next())
        working.Remove(it.CurrentItem());
    stale.RemoveAll();
}

// The scan thread disconnects a port marked changed: never one whose device is in use.
bool Idle(const TComm& port) { return port.device == nullptr || !port.device->IsBusy(); }

bool Connected(const TComm& port)
{
    return port.identified || port.isOpen || port.device != nullptr || port.sockets.Count() > 0;
}

}  // namespace

PortRow RowForPort(const TComm& port, const List<EXCLUDEPORTS>& exclusions)
{
    PortRow row;
    row.port = &port;
    row.kind = port.kind;
    row.name = port.displayName;
    row.look.hasCheckBox = (port.kind == TComm::kSerial && port.usable) || port.autoConnect;
    row.look.checked = row.look.hasCheckBox && FindExcludedPortIn(exclusions, port.kind, port.displayName) == nullptr;
    row.look.enabled = port.usable;
    row.look.image = StatePicture(row.look, port.isOpen);
    return row;
}

int32_t StatePicture(const ListBoxRow& look, bool isOpen)
{
    if (!look.enabled)
        return kPictureNone;
    if (isOpen)
        return kPicturePlugged;
    return look.checked ? kPictureApart : kPictureGreyed;
}

bool SyncExclusions(List<EXCLUDEPORTS>& exclusions, const std::vector<PortRow>& rows, int selected)
{
    bool changed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const PortRow& row = rows[i];
        if (!row.look.hasCheckBox && static_cast<int>(i) != selected)
            continue;
        EXCLUDEPORTS* record = FindExcludedPortIn(exclusions, row.kind, row.name);
        const bool excluded = row.look.hasCheckBox && !row.look.checked;
        if (excluded && record == nullptr) {
            exclusions.Append(new EXCLUDEPORTS{row.kind, row.name});
            changed = true;
        } else if (!excluded && record != nullptr) {
            exclusions.Remove(record);
            delete record;
            changed = true;
        }
    }
    return changed;
}

void CopyListedPorts(PortList& list, List<TComm>& working)
{
    auto lock = list.Lock();
    working.RemoveAll();
    for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
        if (!list.IsProcessing(it.CurrentItem()))
            working.Append(it.CurrentItem());
    }
}

std::vector<PortRow> RowsForWorkingPorts(PortList& list, List<TComm>& working, const List<EXCLUDEPORTS>& exclusions)
{
    auto lock = list.Lock();
    DropUnlisted(list, working);
    std::vector<PortRow> rows;
    for (ListIterator<TComm> it(working); !it.IsDone(); it.Next())
        rows.push_back(RowForPort(*it.CurrentItem(), exclusions));
    return rows;
}

void AddPortsOfKinds(PortList& list, List<TComm>& working, const PortKinds& kinds)
{
    auto lock = list.Lock();
    DropUnlisted(list, working);
    for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
        TComm* port = it.CurrentItem();
        if (kinds.Has(port->kind) && !list.IsProcessing(port) && !working.Contains(port))
            working.Append(port);
    }
}

void RemovePortsOfKinds(PortList& list, List<TComm>& working, const PortKinds& kinds)
{
    auto lock = list.Lock();
    DropUnlisted(list, working);
    List<TComm> off;
    for (ListIterator<TComm> it(working); !it.IsDone(); it.Next()) {
        if (!kinds.Has(it.CurrentItem()->kind))
            off.Append(it.CurrentItem());
    }
    for (ListIterator<TComm> it(off); !it.IsDone(); it.Next())
        working.Remove(it.CurrentItem());
    off.RemoveAll();
}

bool KindSwitchUsable(int32_t kind, const PortKinds& available, const PortKinds& scanned)
{
    if (kind == TComm::kSerial)
        return true;
    return available.Has(kind) || !scanned.Has(kind);
}

bool ApplyExclusionEdits(List<EXCLUDEPORTS>& target, const List<EXCLUDEPORTS>& before,
                         const List<EXCLUDEPORTS>& after)
{
    bool changed = false;
    for (ListIterator<EXCLUDEPORTS> it(before); !it.IsDone(); it.Next()) {
        const EXCLUDEPORTS& record = *it.CurrentItem();
        if (FindExcludedPortIn(after, record.kind, record.name) != nullptr)
            continue;
        if (EXCLUDEPORTS* stored = FindExcludedPortIn(target, record.kind, record.name)) {
            target.Remove(stored);
            delete stored;
            changed = true;
        }
    }
    for (ListIterator<EXCLUDEPORTS> it(after); !it.IsDone(); it.Next()) {
        const EXCLUDEPORTS& record = *it.CurrentItem();
        if (FindExcludedPortIn(before, record.kind, record.name) == nullptr &&
            FindExcludedPortIn(target, record.kind, record.name) == nullptr) {
            target.Append(new EXCLUDEPORTS{record.kind, record.name});
            changed = true;
        }
    }
    return changed;
}

bool ApplyPortChoices(PortList& list, List<TComm>& working, const PortKinds& scan,
                      const List<EXCLUDEPORTS>& exclusionsBefore, const List<EXCLUDEPORTS>& exclusionsAfter)
{
    auto lock = list.Lock();
    SettingsStore& settings = list.Settings();
    SettingsValues& values = settings.values;
    // A kind switched on has to be polled; one switched off takes its ports away.
    bool changed = values.scanSerial != scan.on[TComm::kSerial] || values.scanIrDA != scan.on[TComm::kIrDA] ||
                   values.scanBluetooth != scan.on[TComm::kBluetooth];
    values.scanSerial = scan.on[TComm::kSerial];
    values.scanIrDA = scan.on[TComm::kIrDA];
    values.scanBluetooth = scan.on[TComm::kBluetooth];
    ApplyExclusionEdits(settings.ExcludedPorts, exclusionsBefore, exclusionsAfter);

    // A port a scan destroyed meanwhile is gone for good: it is neither followed nor put back.
    DropUnlisted(list, working);
    for (ListIterator<TComm> it(working); !it.IsDone(); it.Next()) {
        const TComm* port = it.CurrentItem();
        if (port->kind != TComm::kSerial)
            continue;
        const auto* serial = static_cast<const TSerialPort*>(port);
        settings.StoreSerialSettings(serial->displayName, serial->useDefaults, serial->baudRate, serial->dtr,
                                     serial->rts);
    }

    for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
        TComm* port = it.CurrentItem();
        if (list.IsProcessing(port))
            continue;
        if (!working.Contains(port)) {
            if (Idle(*port) && !port->changed)
                port->MarkChanged(false);
            changed = true;
            continue;
        }
        // Placeholders of kinds without ports are never switched on or off.
        if (!port->usable)
            continue;
        const bool excluded = settings.FindExcludedPort(port->kind, port->displayName) != nullptr;
        if (port->included == excluded) {
            port->included = !excluded;
            changed = true;
        }
        if (excluded && Connected(*port) && Idle(*port) && !port->changed) {
            port->MarkChanged(false);
            changed = true;
        }
    }
    return changed;
}
