// A Bluetooth system for tests: radios, known devices and their services as the test sets
// them, service records walked as the API walks them, and an account of every handle, lookup
// and buffer handed out, so that leaks, double frees and unbalanced lookups show.
#pragma once

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "discovery/BluetoothSystem.h"

struct FakeService {
    std::string name;
    std::vector<uint8_t> record;
};

struct FakeDevice {
    std::vector<uint8_t> record;  // as the API fills it
    uint32_t beginError = 0;      // the lookup fails to begin with this error
    std::vector<FakeService> services;
};

// A device record of the API's layout.
inline std::vector<uint8_t> DeviceRecord(uint64_t address, uint32_t classOfDevice, const std::u16string& name)
{
    std::vector<uint8_t> record(BluetoothDeviceRecord::kSize, 0);
    for (int i = 0; i < 8; ++i)
        record[BluetoothDeviceRecord::kAddressOffset + i] = static_cast<uint8_t>(address >> (8 * i));
    for (int i = 0; i < 4; ++i)
        record[BluetoothDeviceRecord::kClassOffset + i] = static_cast<uint8_t>(classOfDevice >> (8 * i));
    for (size_t i = 0; i < name.size() && i < BluetoothDeviceRecord::kNameUnits; ++i) {
        record[BluetoothDeviceRecord::kNameOffset + 2 * i] = static_cast<uint8_t>(name[i]);
        record[BluetoothDeviceRecord::kNameOffset + 2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
    }
    return record;
}

class FakeBluetoothSystem : public BluetoothSystem {
public:
    static constexpr uint32_t kNoMoreResults = 10110;
    // Where the answers put the name; the record follows it.
    static constexpr size_t kNameAt = 64;

    // What the system has.
    bool apiLoaded = true;
    int radios = 1;
    uint32_t registrationError = 0;  // every registration fails with it when not 0
    std::vector<FakeDevice> devices;
    int failAllocation = -1;  // the allocation of this number (from 0) fails

    // The account.
    std::set<Handle> liveRadios, liveNotifications, liveSearches, liveLookups, liveBuffers;
    std::vector<WindowHandle> notifiedWindows;
    int radiosOpened = 0;
    int allocations = 0;
    int lookupsBegun = 0;
    int misuses = 0;  // a handle used or released that was not live

    bool ApiLoaded() override { return apiLoaded; }

    Handle FindFirstRadio(Handle& radio) override
    {
        if (radios == 0)
            return 0;
        radioSearchLeft = radios - 1;
        radio = NewRadio();
        return Open(liveSearches);
    }
    bool FindNextRadio(Handle search, Handle& radio) override
    {
        Check(liveSearches, search, false);
        if (radioSearchLeft == 0)
            return false;
        --radioSearchLeft;
        radio = NewRadio();
        return true;
    }
    void FindRadioClose(Handle search) override { Check(liveSearches, search, true); }
    void CloseRadio(Handle radio) override { Check(liveRadios, radio, true); }

    Handle RegisterRadioNotification(WindowHandle window, Handle radio, uint32_t& error) override
    {
        Check(liveRadios, radio, false);
        if (registrationError != 0) {
            error = registrationError;
            return 0;
        }
        notifiedWindows.push_back(window);
        return Open(liveNotifications);
    }
    void UnregisterNotification(Handle registration) override { Check(liveNotifications, registration, true); }

    Handle FindFirstDevice(Handle radio, std::vector<uint8_t>& record) override
    {
        Check(liveRadios, radio, false);
        if (devices.empty())
            return 0;
        deviceSearchAt = 0;
        record = devices[0].record;
        return Open(liveSearches);
    }
    bool FindNextDevice(Handle search, std::vector<uint8_t>& record) override
    {
        Check(liveSearches, search, false);
        if (++deviceSearchAt >= devices.size())
            return false;
        record = devices[deviceSearchAt].record;
        return true;
    }
    void FindDeviceClose(Handle search) override { Check(liveSearches, search, true); }

    Handle AllocateQuery(uint32_t) override
    {
        if (allocations++ == failAllocation)
            return 0;
        return Open(liveBuffers);
    }
    void FreeQuery(Handle buffer) override { Check(liveBuffers, buffer, true); }

    bool LookupBegin(const uint8_t address[8], Handle& lookup, uint32_t& error) override
    {
        for (FakeDevice& device : devices) {
            if (std::memcmp(device.record.data() + BluetoothDeviceRecord::kAddressOffset, address, 8) != 0)
                continue;
            if (device.beginError != 0) {
                error = device.beginError;
                return false;
            }
            ++lookupsBegun;
            lookup = Open(liveLookups);
            lookupDevice = &device;
            lookupAt = 0;
            return true;
        }
        error = kErrorServiceNotFound;
        return false;
    }
    bool LookupNext(Handle lookup, Handle buffer, uint32_t capacity, LookupAnswer& answer, uint32_t& needed,
                    uint32_t& error) override
    {
        Check(liveLookups, lookup, false);
        Check(liveBuffers, buffer, false);
        if (lookupDevice == nullptr || lookupAt >= lookupDevice->services.size()) {
            error = kNoMoreResults;
            return false;
        }
        const FakeService& service = lookupDevice->services[lookupAt];
        const size_t size = kNameAt + service.name.size() + 1 + service.record.size();
        if (capacity < size) {
            error = kErrorBufferTooSmall;
            needed = static_cast<uint32_t>(size);
            return false;
        }
        ++lookupAt;
        answer.buffer.assign(capacity, 0);
        std::memcpy(answer.buffer.data() + kNameAt, service.name.c_str(), service.name.size() + 1);
        answer.nameAt = kNameAt;
        answer.recordAt = static_cast<int64_t>(kNameAt + service.name.size() + 1);
        answer.recordSize = service.record.size();
        if (!service.record.empty())
            std::memcpy(answer.buffer.data() + answer.recordAt, service.record.data(), service.record.size());
        return true;
    }
    void LookupEnd(Handle lookup) override
    {
        Check(liveLookups, lookup, true);
        lookupDevice = nullptr;
    }

    // A record is a sequence of attribute id (16-bit unsigned) and value pairs.
    bool EnumAttributes(const std::vector<uint8_t>& record, std::vector<SdpAttribute>& attributes) override
    {
        SdpElement outer;
        if (!ReadSdpElement(record.data(), record.size(), outer) || outer.type != kSdpSequence)
            return false;
        const uint8_t* at = record.data() + outer.headerSize;
        size_t left = outer.dataSize;
        SdpElement id, value;
        while (left > 0) {
            if (!ReadSdpElement(at, left, id) || id.type != kSdpUint || id.dataSize != 2)
                return false;
            const size_t idSize = id.headerSize + id.dataSize;
            if (!ReadSdpElement(at + idSize, left - idSize, value))
                return false;
            const size_t valueSize = value.headerSize + value.dataSize;
            SdpAttribute attribute;
            attribute.id = static_cast<uint16_t>(at[1] << 8 | at[2]);
            attribute.element.assign(at + idSize, at + idSize + valueSize);
            attributes.push_back(attribute);
            at += idSize + valueSize;
            left -= idSize + valueSize;
        }
        return true;
    }
    bool GetElementData(const std::vector<uint8_t>& bytes, SdpElementData& data) override
    {
        SdpElement element;
        if (!ReadSdpElement(bytes.data(), bytes.size(), element))
            return false;
        data.type = element.type;
        data.specificType = 0;
        if (element.type == kSdpUint && element.headerSize == 1) {
            static const uint32_t kUintSizes[] = {0x0010, 0x0110, 0x0210, 0x0310, 0x0410};
            data.specificType = kUintSizes[bytes[0] & 0x07];
            if (data.specificType == kSdpSpecificUint16)
                data.uint16Value = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
        }
        return true;
    }

    // Nothing handed out is still held.
    bool AllReleased() const
    {
        return liveRadios.empty() && liveNotifications.empty() && liveSearches.empty() && liveLookups.empty() &&
               liveBuffers.empty() && misuses == 0;
    }

private:
    Handle Open(std::set<Handle>& live)
    {
        live.insert(++lastHandle);
        return lastHandle;
    }
    Handle NewRadio()
    {
        ++radiosOpened;
        return Open(liveRadios);
    }
    void Check(std::set<Handle>& live, Handle handle, bool release)
    {
        if (live.count(handle) == 0)
            ++misuses;
        else if (release)
            live.erase(handle);
    }

    Handle lastHandle = 0;
    int radioSearchLeft = 0;
    size_t deviceSearchAt = 0;
    FakeDevice* lookupDevice = nullptr;
    size_t lookupAt = 0;
};
