#include "discovery/BluetoothDiscovery.h"

#include "devices/TBthPort.h"
#include "discovery/FoundPorts.h"

namespace {

using Handle = BluetoothSystem::Handle;

constexpr unsigned kStyleError = 0x10;  // OK, error icon
// Room for a typical service record; a larger one is asked for again in a buffer of its size.
constexpr uint32_t kFirstQueryBytes = 1024;
// No service record comes near this; a system that asks for more is not believed.
constexpr uint32_t kMaxQueryBytes = 1u << 20;

const char* LookupErrorText(uint32_t error)
{
    switch (error) {
    case 10093:
        return "The WS2_32.DLL has not been initialized.\n The application must first call WSAStartup before "
               "calling any Windows Sockets functions.";
    case 8:
        return "There was insufficient memory to perform the operation.";
    case 10022:
        return "One or more parameters were missing or invalid for this provider.";
    default:
        return "Неизвестная ошибка.";
    }
}

}  // namespace

BluetoothDiscovery::BluetoothDiscovery(BluetoothSystem& bluetoothSystem) : system(bluetoothSystem) {}

BluetoothDiscovery::~BluetoothDiscovery() { ReleaseRadio(); }

bool BluetoothDiscovery::Poll(PortList& list, List<TComm>& found)
{
    if (!system.ApiLoaded() || !FindRadios())
        return false;
    ListBluetoothDevices(list, found);
    return true;
}

void BluetoothDiscovery::ReleaseRadio()
{
    if (radioNotification != 0)
        system.UnregisterNotification(radioNotification);
    radioNotification = 0;
    if (radio != 0)
        system.CloseRadio(radio);
    radio = 0;
}

bool BluetoothDiscovery::FindRadios()
{
    // The radio of the last poll may be gone; a radio found again comes with a new handle.
    ReleaseRadio();
    Handle next = 0;
    const Handle search = system.FindFirstRadio(next);
    if (search == 0)
        return false;
    do {
        ReleaseRadio();
        radio = next;
        next = 0;
        const WindowHandle window = notifyWindow.load();
        if (window == nullptr)
            continue;
        uint32_t error = 0;
        radioNotification = system.RegisterRadioNotification(window, radio, error);
        if (radioNotification == 0 && !registrationFailureReported) {
            registrationFailureReported = true;
            Reporter().Report(MessageKind::SystemError, error);
        }
    } while (system.FindNextRadio(search, next));
    system.FindRadioClose(search);
    return true;
}

bool BluetoothDiscovery::ListBluetoothDevices(PortList& list, List<TComm>& found)
{
    std::vector<uint8_t> record;
    const Handle search = system.FindFirstDevice(radio, record);
    if (search == 0) {
        AddFoundPort(list, found, NewBluetoothPlaceholder().release());
        return false;
    }
    do {
        std::unique_ptr<TBthPort> port = ReadBluetoothDevice(record.data(), record.size());
        if (port == nullptr)
            continue;
        TBthPort* added = port.release();
        AddFoundPort(list, found, added);
        LookupServices(*added);
    } while (system.FindNextDevice(search, record));
    system.FindDeviceClose(search);
    return true;
}

void BluetoothDiscovery::LookupServices(TBthPort& port)
{
    port.services.DeleteAll();
    uint32_t capacity = kFirstQueryBytes;
    Handle buffer = system.AllocateQuery(capacity);
    if (buffer == 0) {
        ReportLookupFailure("Unable to allocate memory for WSAQUERYSET", "Q-V");
        return;
    }
    Handle lookup = 0;
    uint32_t error = 0;
    if (!system.LookupBegin(port.btAddress, lookup, error)) {
        // A device out of range, or one without services: nothing to tell the user.
        if (error != BluetoothSystem::kErrorServiceNotFound && error != BluetoothSystem::kErrorNoData)
            ReportLookupFailure(LookupErrorText(error), "Q-V - Ошибка");
        system.FreeQuery(buffer);
        return;
    }
    for (;;) {
        LookupAnswer answer;
        uint32_t needed = 0;
        if (system.LookupNext(lookup, buffer, capacity, answer, needed, error)) {
            AddService(port, ReadLookupAnswer(answer));
            continue;
        }
        // Anything but a result too large for the buffer ends the list (its end included).
        if (error != BluetoothSystem::kErrorBufferTooSmall || needed <= capacity || needed > kMaxQueryBytes)
            break;
        system.FreeQuery(buffer);
        capacity = needed;
        buffer = system.AllocateQuery(capacity);
        if (buffer == 0) {
            ReportLookupFailure("Поиск Bluetooth устройств...\nОшибка выделения памяти для WSAQERYSET.",
                                "Q-V - Ошибка");
            break;
        }
    }
    system.LookupEnd(lookup);
    if (buffer != 0)
        system.FreeQuery(buffer);
}

void BluetoothDiscovery::AddService(TBthPort& port, const ServiceLookupResult& result)
{
    if (!result.hasRecord || result.name.IsEmpty())
        return;
    std::vector<SdpAttribute> attributes;
    system.EnumAttributes(result.record, attributes);
    ServiceIdReader reader;
    for (const SdpAttribute& attribute : attributes) {
        SdpElementData data;
        if (system.GetElementData(attribute.element, data))
            reader.Take(attribute, data);
    }
    auto* service = new BT_SERVICE_STRUCT;
    service->name = result.name;
    service->serviceId = reader.ServiceId();
    port.services.Append(service);
}

void BluetoothDiscovery::ReportLookupFailure(const char* text, const char* caption)
{
    if (lookupFailureReported)
        return;
    lookupFailureReported = true;
    Reporter().ReportText(text, caption, kStyleError);
}
