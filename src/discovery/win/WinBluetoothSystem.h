// The Bluetooth poll's questions asked of Windows: the Bluetooth API library loaded at run
// time, RegisterDeviceNotification, and the Winsock Bluetooth name space.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "discovery/BluetoothApi.h"
#include "discovery/BluetoothSystem.h"

class WinModuleLoader : public ModuleLoader {
public:
    uintptr_t Load(const char* name) override;
    void* Entry(uintptr_t module, const char* name) override;
    void Free(uintptr_t module) override;
};

class WinBluetoothSystem : public BluetoothSystem {
public:
    bool ApiLoaded() override { return api.IsLoaded(); }

    Handle FindFirstRadio(Handle& radio) override;
    bool FindNextRadio(Handle search, Handle& radio) override;
    void FindRadioClose(Handle search) override;
    void CloseRadio(Handle radio) override;

    Handle RegisterRadioNotification(WindowHandle window, Handle radio, uint32_t& error) override;
    void UnregisterNotification(Handle registration) override;

    Handle FindFirstDevice(Handle radio, std::vector<uint8_t>& record) override;
    bool FindNextDevice(Handle search, std::vector<uint8_t>& record) override;
    void FindDeviceClose(Handle search) override;

    Handle AllocateQuery(uint32_t bytes) override;
    void FreeQuery(Handle buffer) override;
    bool LookupBegin(const uint8_t address[8], Handle& lookup, uint32_t& error) override;
    bool LookupNext(Handle lookup, Handle buffer, uint32_t capacity, LookupAnswer& answer, uint32_t& needed,
                    uint32_t& error) override;
    void LookupEnd(Handle lookup) override;

    bool EnumAttributes(const std::vector<uint8_t>& record, std::vector<SdpAttribute>& attributes) override;
    bool GetElementData(const std::vector<uint8_t>& element, SdpElementData& data) override;

private:
    // The API's entry point of that name as its declared type; null when missing.
    template <class Function>
    Function* Entry(const char* name)
    {
        return reinterpret_cast<Function*>(api.Entry(name));
    }

    WinModuleLoader loader;
    BluetoothApi api{loader};
};
