#include "discovery/DiscoveryCycle.h"

#include "devices/Device.h"
#include "devices/TComm.h"
#include "discovery/PortKey.h"
#include "discovery/PortList.h"

namespace {

// The scan's progress as the ports see it: cancelled when the user cancelled or the closing
// thread asked the scan to stop.
class GuardedProgress : public ScanProgress {
public:
    GuardedProgress(ScanProgress& inner, const std::atomic<bool>& stop) : inner(inner), stop(stop) {}

    void SetPosition(uint32_t value) override { inner.SetPosition(value); }
    void SetRange(uint32_t low, uint32_t high) override { inner.SetRange(low, high); }
    void Step() override { inner.Step(); }
    bool IsCancelled() override { return stop.load() || inner.IsCancelled(); }
    void SetText(const GString& text) override { inner.SetText(text); }
    bool IsShown() override { return inner.IsShown(); }
    void Close() override { inner.Close(); }

private:
    ScanProgress& inner;
    const std::atomic<bool>& stop;
};

// Whether OpenPorts leaves the port alone; inside the list's lock.
bool SkipOnOpen(PortList& list, TComm* port)
{
    if (list.IsProcessing(port))
        return true;
    if (port->identified || port->gone || !port->usable)
        return true;
    if (list.Settings().FindExcludedPort(port->kind, port->displayName) != nullptr)
        return true;
    return port->kind != TComm::kSerial && !port->autoConnect;
}

// The next port OpenPorts should connect, from index on; null at the end of the list.
TComm* NextPortToOpen(PortList& list, uint32_t& index)
{
    auto lock = list.Lock();
    for (; index < list.ports.Count(); ++index) {
        TComm* port = list.ports.Get(index);
        if (!SkipOnOpen(list, port))
            return port;
    }
    return nullptr;
}

void Poll(ScanProgress& progress, const char* text, void (PortPollers::*poll)(List<TComm>&),
          PortPollers& polls, List<TComm>& found)
{
    progress.SetText(GString(text));
    progress.Step();
    (polls.*poll)(found);
}

}  // namespace

void MergeFoundPorts(PortList& list, List<TComm>& found)
{
    List<TComm> discarded;
    {
        auto lock = list.Lock();
        if (list.ports.Count() == 0) {
            list.ports.CopyFrom(found);
        } else {
            for (ListIterator<TComm> it(found); !it.IsDone(); it.Next()) {
                TComm* port = it.CurrentItem();
                if (FindPort(*port, list.ports) != nullptr)
                    discarded.Append(port);
                else
                    list.ports.Append(port);
            }
            for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
                TComm* port = it.CurrentItem();
                if (!list.IsProcessing(port) && FindPort(*port, found) == nullptr)
                    port->MarkChanged(true);
            }
        }
    }
    found.RemoveAll();
    discarded.DeleteAll();
}

void ExcludeSerialPortsOnFirstRun(PortList& list)
{
    auto lock = list.Lock();
    SettingsStore& settings = list.Settings();
    if (!settings.values.firstRun)
        return;
    for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
        TComm* port = it.CurrentItem();
        if (port->kind != TComm::kSerial || list.IsProcessing(port))
            continue;
        if (settings.FindExcludedPort(TComm::kSerial, port->displayName) == nullptr) {
            auto* record = new EXCLUDEPORTS;
            record->kind = TComm::kSerial;
            record->name = port->displayName;
            settings.ExcludedPorts.Append(record);
        }
        port->included = false;
    }
    settings.values.firstRun = false;
}

void OpenPorts(PortList& list, ScanProgress* progress)
{
    uint32_t index = 0;
    while (TComm* port = NextPortToOpen(list, index)) {
        ++index;
        if (progress != nullptr) {
            if (progress->IsCancelled())
                return;
            GString text("Открытие порта «");
            text.Append(port->displayName);
            text.Append("»");
            progress->SetText(text);
        }
        if (!port->Connect(progress))
            port->Disconnect();
    }
}

void ProcessChangedPorts(PortList& list, PortListObserver& observer)
{
    List<TComm> disconnect;
    List<TComm> destroy;
    {
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
            TComm* port = it.CurrentItem();
            if (list.IsProcessing(port) || !port->changed)
                continue;
            if (!port->gone) {
                disconnect.Append(port);
                list.processing.Append(port);
            } else if (port->device == nullptr || !port->device->IsBusy()) {
                destroy.Append(port);
            }
            // A vanished port whose device is in use stays until the device is idle.
        }
        for (ListIterator<TComm> it(destroy); !it.IsDone(); it.Next())
            list.ports.Remove(it.CurrentItem());
    }
    for (ListIterator<TComm> it(disconnect); !it.IsDone(); it.Next())
        observer.ReleasePort(it.CurrentItem());
    for (ListIterator<TComm> it(destroy); !it.IsDone(); it.Next())
        observer.ReleasePort(it.CurrentItem());
    for (ListIterator<TComm> it(disconnect); !it.IsDone(); it.Next()) {
        it.CurrentItem()->Disconnect();
        auto lock = list.Lock();
        list.processing.Remove(it.CurrentItem());
    }
    destroy.DeleteAll();
    observer.PortsChanged();
}

bool IsListedPort(PortList& list, const TComm* port)
{
    return port != nullptr && !list.IsProcessing(port) && list.ports.Contains(port);
}

bool TakePortForDisconnect(PortList& list, TComm* port)
{
    if (!IsListedPort(list, port) || port->device == nullptr || port->device->IsBusy())
        return false;
    port->MarkChanged(false);
    list.processing.Append(port);
    return true;
}

void ReturnTakenPort(PortList& list, TComm* port)
{
    list.processing.Remove(port);
    port->changed = false;
}

void DisconnectTakenPort(PortList& list, TComm* port, PortListObserver& observer)
{
    observer.ReleasePort(port);
    port->Disconnect();
    {
        auto lock = list.Lock();
        list.processing.Remove(port);
    }
    observer.PortsChanged();
}

void CloseAllPorts(PortList& list, PortListObserver& observer)
{
    // A push or a file operation uses the port's sockets and the device: it ends before they
    // go, whatever the device's busy state says.
    List<Device> devices;
    {
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
            if (it.CurrentItem()->device != nullptr)
                devices.Append(it.CurrentItem()->device);
        }
    }
    for (ListIterator<Device> it(devices); !it.IsDone(); it.Next())
        it.CurrentItem()->StopWork();
    devices.RemoveAll();
    {
        auto lock = list.Lock();
        for (ListIterator<TComm> it(list.ports); !it.IsDone(); it.Next()) {
            if (!list.IsProcessing(it.CurrentItem()))
                it.CurrentItem()->MarkChanged(false);
        }
    }
    ProcessChangedPorts(list, observer);
    // Disconnected and without buttons now: the port objects go with the list.
    list.DestroyAll();
}

void RunDiscoveryCycle(PortList& list, PortPollers& polls, PortListObserver& observer,
                       ScanProgress& dialog, const std::atomic<bool>& cancel)
{
    GuardedProgress progress(dialog, cancel);
    SettingsValues values;
    {
        auto lock = list.Lock();
        values = list.Settings().values;
    }
    progress.SetText(GString("Опрос портов..."));
    progress.SetRange(0, uint32_t{values.scanSerial} + values.scanIrDA + values.scanBluetooth);

    List<TComm> found;
    if (values.scanSerial)
        Poll(progress, "Опрос последовательных портов...", &PortPollers::PollSerial, polls, found);
    if (!progress.IsCancelled() && values.scanIrDA)
        Poll(progress, "Опрос инфракрасных портов...", &PortPollers::PollIrDA, polls, found);
    if (!progress.IsCancelled() && values.scanBluetooth)
        Poll(progress, "Опрос BlueTooth портов...", &PortPollers::PollBluetooth, polls, found);

    if (!progress.IsCancelled()) {
        bool hadPorts = list.Count() > 0;
        MergeFoundPorts(list, found);
        if (hadPorts)
            ProcessChangedPorts(list, observer);
        ExcludeSerialPortsOnFirstRun(list);
    } else {
        // Nothing of a cancelled scan is kept.
        found.DeleteAll();
    }

    OpenPorts(list, &progress);
    ProcessChangedPorts(list, observer);
    observer.PortsChanged();
    progress.Close();
}
