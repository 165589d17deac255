#include "core/Settings.h"

#include <cstring>

namespace {

// Exact byte comparison; unlike GString::Equals two empty texts are equal.
bool SameText(const GString& a, const GString& b)
{
    return a.Length() == b.Length() && std::memcmp(a.CStr(), b.CStr(), a.Length()) == 0;
}

}  // namespace

void LAST_SET_DEVICE::CopyFrom(const LAST_SET_DEVICE& other)
{
    if (&other == this)
        return;
    manufacturer = other.manufacturer;
    model = other.model;
    serialNumber = other.serialNumber;
    btAddress = other.btAddress;
    std::memcpy(reserved, other.reserved, sizeof reserved);
    fileManagerShown = other.fileManagerShown;
    lastFolder = other.lastFolder;
    reserved2 = other.reserved2;
    favourites.DeleteAll();
    ListIterator<LIST_FAVORITE> it(other.favourites);
    for (it.First(); !it.IsDone(); it.Next())
        favourites.Append(new LIST_FAVORITE{it.CurrentItem()->first, it.CurrentItem()->second});
}

bool LAST_SET_DEVICE::IsSamePhone(const LAST_SET_DEVICE& other) const
{
    if (btAddress != 0 && other.btAddress != 0 && btAddress == other.btAddress)
        return true;
    return SameText(manufacturer, other.manufacturer) && SameText(model, other.model) &&
           SameText(serialNumber, other.serialNumber);
}

EXCLUDEPORTS* FindExcludedPortIn(const List<EXCLUDEPORTS>& list, int32_t kind, const GString& name)
{
    ListIterator<EXCLUDEPORTS> it(list);
    for (it.First(); !it.IsDone(); it.Next()) {
        EXCLUDEPORTS* record = it.CurrentItem();
        if (record->kind == kind && record->name.Equals(name))
            return record;
    }
    return nullptr;
}

void CopyExcludedPorts(List<EXCLUDEPORTS>& to, const List<EXCLUDEPORTS>& from)
{
    if (&to == &from)
        return;
    to.DeleteAll();
    ListIterator<EXCLUDEPORTS> it(from);
    for (it.First(); !it.IsDone(); it.Next())
        to.Append(new EXCLUDEPORTS{it.CurrentItem()->kind, it.CurrentItem()->name});
}

SettingsStore::~SettingsStore()
{
    Reset();
}

void SettingsStore::Reset()
{
    values = SettingsValues();
    ExcludedPorts.DeleteAll();
    SerialPortSettings.DeleteAll();
    DeviceSettings.DeleteAll();
}

EXCLUDEPORTS* SettingsStore::FindExcludedPort(int32_t kind, const GString& displayName) const
{
    return FindExcludedPortIn(ExcludedPorts, kind, displayName);
}

EXT_LIST_SERIALPORTS* SettingsStore::FindSerialSettings(const GString& displayName) const
{
    ListIterator<EXT_LIST_SERIALPORTS> it(SerialPortSettings);
    for (it.First(); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->name.Equals(displayName))
            return it.CurrentItem();
    }
    return nullptr;
}

void SettingsStore::StoreSerialSettings(const GString& displayName, bool useDefaults,
                                        uint32_t baudRate, uint8_t dtr, uint8_t rts)
{
    EXT_LIST_SERIALPORTS* record = FindSerialSettings(displayName);
    if (record != nullptr && useDefaults) {
        SerialPortSettings.Remove(record);
        delete record;
        return;
    }
    if (useDefaults)
        return;
    if (record == nullptr) {
        record = new EXT_LIST_SERIALPORTS;
        record->name = displayName;
        SerialPortSettings.Append(record);
    }
    record->baudRate = baudRate;
    record->dtr = dtr;
    record->rts = rts;
}

LAST_SET_DEVICE* SettingsStore::FindDeviceSettings(const LAST_SET_DEVICE& record) const
{
    ListIterator<LAST_SET_DEVICE> it(DeviceSettings);
    for (it.First(); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->IsSamePhone(record))
            return it.CurrentItem();
    }
    return nullptr;
}

void SettingsStore::StoreDeviceSettings(const LAST_SET_DEVICE& record)
{
    LAST_SET_DEVICE* stored = FindDeviceSettings(record);
    if (stored == nullptr) {
        stored = new LAST_SET_DEVICE;
        DeviceSettings.Append(stored);
    }
    stored->CopyFrom(record);
}
