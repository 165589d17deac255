// What the Bluetooth poll asks of the system: the Bluetooth API (radios, known devices, the
// attributes of service records), the radio's device notifications and the service lookup
// of the Winsock Bluetooth name space. Windows makes the real calls; tests play the answers.
#pragma once

#include <cstdint>
#include <vector>

#include "core/MessageReporter.h"
#include "discovery/BluetoothRecords.h"
#include "discovery/SdpElement.h"

class BluetoothSystem {
public:
    // A system handle (radio, search, registration, lookup, query buffer); 0 is none.
    using Handle = uintptr_t;

    // Winsock errors the lookup tells apart.
    static constexpr uint32_t kErrorBufferTooSmall = 10014;
    static constexpr uint32_t kErrorServiceNotFound = 10108;
    static constexpr uint32_t kErrorNoData = 11004;

    virtual ~BluetoothSystem() = default;

    // Whether the Bluetooth API library could be loaded.
    virtual bool ApiLoaded() = 0;

    // The first local radio into radio, and the search handle (0: no radio).
    virtual Handle FindFirstRadio(Handle& radio) = 0;
    virtual bool FindNextRadio(Handle search, Handle& radio) = 0;
    virtual void FindRadioClose(Handle search) = 0;
    virtual void CloseRadio(Handle radio) = 0;

    // Sends the radio's in-range notifications to window; 0 on failure, with the system's
    // error code.
    virtual Handle RegisterRadioNotification(WindowHandle window, Handle radio, uint32_t& error) = 0;
    virtual void UnregisterNotification(Handle registration) = 0;

    // The devices the radio knows (no inquiry); each answer is the device record the API
    // filled. The search handle is 0 when there is none.
    virtual Handle FindFirstDevice(Handle radio, std::vector<uint8_t>& record) = 0;
    virtual bool FindNextDevice(Handle search, std::vector<uint8_t>& record) = 0;
    virtual void FindDeviceClose(Handle search) = 0;

    // The result buffer of a lookup, of at least the given size; 0 when out of memory.
    virtual Handle AllocateQuery(uint32_t bytes) = 0;
    virtual void FreeQuery(Handle buffer) = 0;
    // Begins the lookup of every service of a device (8-byte address); false with the
    // error code when it could not begin (lookup is then undefined).
    virtual bool LookupBegin(const uint8_t address[8], Handle& lookup, uint32_t& error) = 0;
    // The next service into buffer (capacity bytes). False with the error code at the end
    // or on failure; kErrorBufferTooSmall comes with the size the result needs.
    virtual bool LookupNext(Handle lookup, Handle buffer, uint32_t capacity, LookupAnswer& answer,
                            uint32_t& needed, uint32_t& error) = 0;
    virtual void LookupEnd(Handle lookup) = 0;

    // The attributes of a service record; false when the walk failed (the attributes handed
    // so far are kept).
    virtual bool EnumAttributes(const std::vector<uint8_t>& record, std::vector<SdpAttribute>& attributes) = 0;
    // The API's reading of one attribute value; false when it could not read it.
    virtual bool GetElementData(const std::vector<uint8_t>& element, SdpElementData& data) = 0;
};
