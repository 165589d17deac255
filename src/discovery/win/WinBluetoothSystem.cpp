#include "discovery/win/WinBluetoothSystem.h"

#include <bluetoothapis.h>
#include <dbt.h>
#include <ws2bth.h>

#include <cstddef>
#include <cstring>

static_assert(sizeof(BLUETOOTH_DEVICE_INFO) == BluetoothDeviceRecord::kSize);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, Address) == BluetoothDeviceRecord::kAddressOffset);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, ulClassofDevice) == BluetoothDeviceRecord::kClassOffset);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, szName) == BluetoothDeviceRecord::kNameOffset);
static_assert(sizeof(BLUETOOTH_DEVICE_INFO::szName) == 2 * BluetoothDeviceRecord::kNameUnits);

namespace {

// {EA3B5B82-26EE-450E-B0D8-D26FE30A3869}: a radio came into range.
const GUID kRadioInRange = {0xEA3B5B82, 0x26EE, 0x450E, {0xB0, 0xD8, 0xD2, 0x6F, 0xE3, 0x0A, 0x38, 0x69}};
// {00000100-0000-1000-8000-00805F9B34FB}: L2CAP, which every service runs over.
const GUID kL2capUuid = {0x00000100, 0x0000, 0x1000, {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}};

constexpr DWORD kLookupFlags =
    LUP_RETURN_NAME | LUP_RETURN_TYPE | LUP_RETURN_COMMENT | LUP_RETURN_ADDR | LUP_RETURN_BLOB;

template <class T>
BluetoothSystem::Handle ToHandle(T value)
{
    return reinterpret_cast<BluetoothSystem::Handle>(value);
}

template <class T>
T FromHandle(BluetoothSystem::Handle handle)
{
    return reinterpret_cast<T>(handle);
}

void CopyRecord(const BLUETOOTH_DEVICE_INFO& info, std::vector<uint8_t>& record)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(&info);
    record.assign(bytes, bytes + sizeof info);
}

// Where a pointer the system wrote into the buffer points, as an offset; -1 when it points
// elsewhere.
int64_t OffsetIn(const uint8_t* buffer, uint32_t capacity, const void* pointer, size_t room = 1)
{
    const auto start = reinterpret_cast<uintptr_t>(buffer);
    const auto at = reinterpret_cast<uintptr_t>(pointer);
    if (pointer == nullptr || at < start || at - start > capacity || capacity - (at - start) < room)
        return -1;
    return static_cast<int64_t>(at - start);
}

WINBOOL CollectAttribute(ULONG id, LPBYTE stream, ULONG size, LPVOID context)
{
    auto* attributes = static_cast<std::vector<SdpAttribute>*>(context);
    SdpAttribute attribute;
    attribute.id = static_cast<uint16_t>(id);
    if (stream != nullptr)
        attribute.element.assign(stream, stream + size);
    attributes->push_back(std::move(attribute));
    return TRUE;
}

}  // namespace

uintptr_t WinModuleLoader::Load(const char* name) { return reinterpret_cast<uintptr_t>(LoadLibraryA(name)); }

void* WinModuleLoader::Entry(uintptr_t module, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

void WinModuleLoader::Free(uintptr_t module) { FreeLibrary(reinterpret_cast<HMODULE>(module)); }

BluetoothSystem::Handle WinBluetoothSystem::FindFirstRadio(Handle& radio)
{
    auto* find = Entry<decltype(BluetoothFindFirstRadio)>("BluetoothFindFirstRadio");
    if (find == nullptr)
        return 0;
    BLUETOOTH_FIND_RADIO_PARAMS params{};
    params.dwSize = sizeof params;
    HANDLE found = nullptr;
    HBLUETOOTH_RADIO_FIND search = find(&params, &found);
    radio = search != nullptr ? ToHandle(found) : 0;
    return ToHandle(search);
}

bool WinBluetoothSystem::FindNextRadio(Handle search, Handle& radio)
{
    auto* next = Entry<decltype(BluetoothFindNextRadio)>("BluetoothFindNextRadio");
    HANDLE found = nullptr;
    if (next == nullptr || !next(FromHandle<HBLUETOOTH_RADIO_FIND>(search), &found))
        return false;
    radio = ToHandle(found);
    return true;
}

void WinBluetoothSystem::FindRadioClose(Handle search)
{
    if (auto* close = Entry<decltype(BluetoothFindRadioClose)>("BluetoothFindRadioClose"))
        close(FromHandle<HBLUETOOTH_RADIO_FIND>(search));
}

void WinBluetoothSystem::CloseRadio(Handle radio) { CloseHandle(FromHandle<HANDLE>(radio)); }

BluetoothSystem::Handle WinBluetoothSystem::RegisterRadioNotification(WindowHandle window, Handle radio,
                                                                      uint32_t& error)
{
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof filter;
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = FromHandle<HANDLE>(radio);
    filter.dbch_eventguid = kRadioInRange;
    HDEVNOTIFY registration = RegisterDeviceNotificationA(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (registration == nullptr)
        error = GetLastError();
    return ToHandle(registration);
}

void WinBluetoothSystem::UnregisterNotification(Handle registration)
{
    UnregisterDeviceNotification(FromHandle<HDEVNOTIFY>(registration));
}

BluetoothSystem::Handle WinBluetoothSystem::FindFirstDevice(Handle radio, std::vector<uint8_t>& record)
{
    auto* find = Entry<decltype(BluetoothFindFirstDevice)>("BluetoothFindFirstDevice");
    if (find == nullptr)
        return 0;
    BLUETOOTH_DEVICE_SEARCH_PARAMS params{};
    params.dwSize = sizeof params;
    params.fReturnAuthenticated = TRUE;
    params.fReturnRemembered = TRUE;
    params.fReturnUnknown = TRUE;
    params.fReturnConnected = TRUE;
    params.fIssueInquiry = FALSE;  // only the devices the stack knows already
    params.cTimeoutMultiplier = 0;
    params.hRadio = FromHandle<HANDLE>(radio);
    BLUETOOTH_DEVICE_INFO info{};
    info.dwSize = sizeof info;
    HBLUETOOTH_DEVICE_FIND search = find(&params, &info);
    if (search != nullptr)
        CopyRecord(info, record);
    return ToHandle(search);
}

bool WinBluetoothSystem::FindNextDevice(Handle search, std::vector<uint8_t>& record)
{
    auto* next = Entry<decltype(BluetoothFindNextDevice)>("BluetoothFindNextDevice");
    BLUETOOTH_DEVICE_INFO info{};
    info.dwSize = sizeof info;
    if (next == nullptr || !next(FromHandle<HBLUETOOTH_DEVICE_FIND>(search), &info))
        return false;
    CopyRecord(info, record);
    return true;
}

void WinBluetoothSystem::FindDeviceClose(Handle search)
{
    if (auto* close = Entry<decltype(BluetoothFindDeviceClose)>("BluetoothFindDeviceClose"))
        close(FromHandle<HBLUETOOTH_DEVICE_FIND>(search));
}

BluetoothSystem::Handle WinBluetoothSystem::AllocateQuery(uint32_t bytes)
{
    return ToHandle(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
}

void WinBluetoothSystem::FreeQuery(Handle buffer) { HeapFree(GetProcessHeap(), 0, FromHandle<void*>(buffer)); }

bool WinBluetoothSystem::LookupBegin(const uint8_t address[8], Handle& lookup, uint32_t& error)
{
    SOCKADDR_BTH device{};
    device.addressFamily = AF_BTH;
    std::memcpy(&device.btAddr, address, sizeof device.btAddr);
    device.serviceClassId = kL2capUuid;
    device.port = 0;
    char text[64] = {};
    DWORD textLength = sizeof text;
    if (WSAAddressToStringA(reinterpret_cast<LPSOCKADDR>(&device), sizeof device, nullptr, text, &textLength) != 0) {
        error = WSAGetLastError();
        return false;
    }
    GUID serviceClass = kL2capUuid;
    WSAQUERYSETA query{};
    query.dwSize = sizeof query;
    query.lpServiceClassId = &serviceClass;
    query.lpszContext = text;
    query.dwNameSpace = NS_BTH;
    query.dwNumberOfCsAddrs = 0;
    HANDLE handle = nullptr;
    if (WSALookupServiceBeginA(&query, kLookupFlags, &handle) != 0) {
        error = WSAGetLastError();
        return false;
    }
    lookup = ToHandle(handle);
    return true;
}

bool WinBluetoothSystem::LookupNext(Handle lookup, Handle buffer, uint32_t capacity, LookupAnswer& answer,
                                    uint32_t& needed, uint32_t& error)
{
    auto* bytes = FromHandle<uint8_t*>(buffer);
    auto* result = reinterpret_cast<WSAQUERYSETA*>(bytes);
    if (capacity >= sizeof *result)
        result->dwSize = sizeof *result;
    DWORD length = capacity;
    if (WSALookupServiceNextA(FromHandle<HANDLE>(lookup), kLookupFlags, &length, result) != 0) {
        error = WSAGetLastError();
        needed = length;
        return false;
    }
    answer.buffer.assign(bytes, bytes + capacity);
    answer.nameAt = OffsetIn(bytes, capacity, result->lpszServiceInstanceName);
    answer.recordAt = -1;
    answer.recordSize = 0;
    // The blob's descriptor is read only where it lies inside the buffer; its data is then
    // checked by the reader of the answer.
    if (OffsetIn(bytes, capacity, result->lpBlob, sizeof(BLOB)) >= 0 && result->lpBlob->pBlobData != nullptr) {
        answer.recordAt = OffsetIn(bytes, capacity, result->lpBlob->pBlobData, 0);
        answer.recordSize = result->lpBlob->cbSize;
    }
    return true;
}

void WinBluetoothSystem::LookupEnd(Handle lookup) { WSALookupServiceEnd(FromHandle<HANDLE>(lookup)); }

bool WinBluetoothSystem::EnumAttributes(const std::vector<uint8_t>& record, std::vector<SdpAttribute>& attributes)
{
    auto* walk = Entry<decltype(BluetoothSdpEnumAttributes)>("BluetoothSdpEnumAttributes");
    if (walk == nullptr || record.empty())
        return false;
    return walk(const_cast<uint8_t*>(record.data()), static_cast<ULONG>(record.size()), CollectAttribute,
                &attributes) != FALSE;
}

bool WinBluetoothSystem::GetElementData(const std::vector<uint8_t>& element, SdpElementData& data)
{
    auto* read = Entry<decltype(BluetoothSdpGetElementData)>("BluetoothSdpGetElementData");
    if (read == nullptr || element.empty())
        return false;
    SDP_ELEMENT_DATA system{};
    if (read(const_cast<uint8_t*>(element.data()), static_cast<ULONG>(element.size()), &system) != ERROR_SUCCESS)
        return false;
    data.type = static_cast<uint32_t>(system.type);
    data.specificType = static_cast<uint32_t>(system.specificType);
    data.uint16Value = system.data.uint16;
    return true;
}
