#include "discovery/win/SerialEnumeration.h"

#include <windows.h>
#include <initguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/RegistryAccess.h"
#include "devices/TSerialPort.h"
#include "discovery/SerialPortCollector.h"

namespace {

// {86E0D1E0-8089-11D0-9CE4-08003E301F73}: the COM port interface.
const GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
// {4D36E978-E325-11CE-BFC1-08002BE10318}: the Ports setup class, asked as an interface class.
const GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

constexpr DWORD kDetailBufferSize = 261;
constexpr DWORD kPropertyBufferSize = 256;
constexpr DWORD kRegistryTextSize = 256;

GString DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property)
{
    char buffer[kPropertyBufferSize] = {};
    if (!SetupDiGetDeviceRegistryPropertyA(set, &device, property, nullptr, reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - 1, nullptr))
        return GString();
    buffer[sizeof buffer - 1] = '\0';
    return GString(buffer);
}

}  // namespace

GString ComNameOfDevice(const GString& driverKey, const GString& service)
{
    if (driverKey.IsEmpty() || service.IsEmpty())
        return GString();
    RegistryAccess& registry = RegistryAccess::Instance();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    GString enumKey("SYSTEM\\CurrentControlSet\\Services\\");
    enumKey.Append(service);
    enumKey.Append("\\Enum");
    if (!registry.OpenKey(enumKey.CStr()))
        return GString();
    const uint32_t count = registry.ReadDword("Count", 0);
    for (uint32_t j = 0; j < count; ++j) {
        if (!registry.OpenKey(enumKey.CStr()))
            return GString();
        GString instance = registry.ReadString(GString(j).CStr(), "");
        if (instance.IsEmpty())
            continue;
        GString instanceKey("SYSTEM\\CurrentControlSet\\Enum\\");
        instanceKey.Append(instance);
        if (!registry.OpenKey(instanceKey.CStr()))
            continue;
        if (!registry.ReadString("Driver", "").Equals(driverKey))
            continue;
        instanceKey.Append("\\Device Parameters");
        if (!registry.OpenKey(instanceKey.CStr()))
            return GString();
        return registry.ReadString("PortName", "");
    }
    return GString();
}

namespace {

// Lists the interfaces of one class; answers how many were found, or -1 when the class could
// not be listed to its end.
int EnumerateInterfaceClass(const GUID& interfaceClass, SerialPortCollector& collector)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return -1;
    if (SetupDiGetClassDevsExA(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, set,
                               nullptr, nullptr) == INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(set);
        return -1;
    }
    std::vector<char> detailBuffer(kDetailBufferSize);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(detailBuffer.data());
    int found = 0;
    bool complete = false;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &interfaceClass, index, &interfaceData)) {
            complete = GetLastError() == ERROR_NO_MORE_ITEMS;
            break;
        }
        std::fill(detailBuffer.begin(), detailBuffer.end(), '\0');
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, kDetailBufferSize - 1, nullptr, &device))
            break;
        ++found;
        auto* port = new TSerialPort;
        port->devicePath = detail->DevicePath;
        port->displayName = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        port->autoConnect = false;
        port->usable = true;
        port->portName = ComNameOfDevice(DeviceProperty(set, device, SPDRP_DRIVER), DeviceProperty(set, device, SPDRP_SERVICE));
        collector.Add(port);
    }
    SetupDiDestroyDeviceInfoList(set);
    return complete ? found : -1;
}

// Under Wine the system's list names every COM port mapped in Wine's registry, whether the
// device behind the mapping exists or not, and the port even opens; but a mapping without its
// device answers no serial request. Opening without access rights touches neither the line
// nor a program that holds it.
bool DevicePresent(const GString& comName)
{
    GString path("\\\\.\\");
    path.Append(comName);
    HANDLE h = CreateFileA(path.CStr(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    DWORD mask = 0;
    const bool answers = GetCommMask(h, &mask) || GetLastError() != ERROR_INVALID_FUNCTION;
    CloseHandle(h);
    return answers;
}

// COM names the system maps to serial devices, in the order of their numbers.
std::vector<GString> SerialCommNames()
{
    std::vector<GString> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char valueName[kRegistryTextSize] = {};
        char data[kRegistryTextSize] = {};
        DWORD nameLength = sizeof valueName;
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        LONG status = RegEnumValueA(key, index, valueName, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data), &dataLength);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataLength < sizeof data ? dataLength : sizeof data - 1] = '\0';
        if (data[0] != '\0')
            names.emplace_back(data);
    }
    RegCloseKey(key);
    auto number = [](const GString& name) {
        return name.Find("COM") == 1 ? std::strtoul(name.CStr() + 3, nullptr, 10) : 0ul;
    };
    std::stable_sort(names.begin(), names.end(),
                     [&](const GString& a, const GString& b) { return number(a) < number(b); });
    return names;
}

void EnumerateSerialComm(SerialPortCollector& collector)
{
    for (const GString& name : SerialCommNames()) {
        if (!DevicePresent(name))
            continue;
        auto* port = new TSerialPort;
        port->displayName = name;
        port->portName = name;
        port->devicePath = "\\\\.\\";
        port->devicePath.Append(name);
        port->autoConnect = false;
        port->usable = true;
        collector.Add(port);
    }
}

}  // namespace

void EnumerateSerialPorts(PortList& list, List<TComm>& found)
{
    SerialPortCollector collector(list, found);
    const int comPorts = EnumerateInterfaceClass(kComPortInterface, collector);
    const int portsClass = EnumerateInterfaceClass(kPortsClass, collector);
    if (comPorts <= 0 && portsClass <= 0)
        EnumerateSerialComm(collector);
    // A class that was listed to its end without a single interface shows as the
    // placeholder -- unless the system's own list of COM names gave the ports.
    if (collector.Added() > 0 && comPorts <= 0 && portsClass <= 0)
        return;
    if (comPorts == 0)
        collector.AddPlaceholder();
    if (portsClass == 0)
        collector.AddPlaceholder();
}
