#include "discovery/win/SystemPortPollers.h"

#include "core/win/AppCore.h"
#include "discovery/win/SerialEnumeration.h"

namespace {

// Without Winsock neither wireless poll runs, and the availability stays as it was. Without
// the application core (tests) the caller has started Winsock.
bool WinsockReady()
{
    AppCore* core = AppCore::Existing();
    return core == nullptr || core->WinsockReady();
}

}  // namespace

void SystemPortPollers::PollSerial(List<TComm>& found) { EnumerateSerialPorts(list, found); }

void SystemPortPollers::PollIrDA(List<TComm>& found)
{
    if (!WinsockReady())
        return;
    irdaAvailable = ::PollIrDA(irdaSystem, list, found);
    if (AppCore* core = AppCore::Existing())
        core->irdaAvailable = irdaAvailable;
}

void SystemPortPollers::PollBluetooth(List<TComm>& found)
{
    if (!WinsockReady())
        return;
    bluetoothAvailable = bluetooth.Poll(list, found);
    if (AppCore* core = AppCore::Existing())
        core->bluetoothAvailable = bluetoothAvailable;
}
