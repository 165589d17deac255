#include "discovery/win/SystemPortPollers.h"

#include "core/win/AppCore.h"
#include "discovery/win/SerialEnumeration.h"

void SystemPortPollers::PollSerial(List<TComm>& found) { EnumerateSerialPorts(list, found); }

void SystemPortPollers::PollIrDA(List<TComm>&)
{
    if (AppCore* core = AppCore::Existing())
        core->irdaAvailable = false;
}

void SystemPortPollers::PollBluetooth(List<TComm>&)
{
    if (AppCore* core = AppCore::Existing())
        core->bluetoothAvailable = false;
}
