#include "discovery/SerialPortCollector.h"

#include "devices/TSerialPort.h"
#include "discovery/PortKey.h"
#include "discovery/PortList.h"

void ApplySerialSettings(TSerialPort& port, const EXT_LIST_SERIALPORTS& record)
{
    port.baudRate = record.baudRate;
    port.dtr = record.dtr != 0;
    port.rts = record.rts != 0;
    port.useDefaults = false;
}

SerialPortCollector::SerialPortCollector(PortList& portList, List<TComm>& foundPorts)
    : list(portList), found(foundPorts)
{
    List<TSerialPort> old;
    {
        auto lock = list.Lock();
        old.CopyFrom(list.virtualSerialPorts);
        list.virtualSerialPorts.RemoveAll();
    }
    old.DeleteAll();
}

void SerialPortCollector::Add(TSerialPort* port)
{
    // The stacks' own COM ports are named by their bus enumerators in the device path.
    const bool stackPort = port->devicePath.Find("irenum") != 0 || port->devicePath.Find("bthenum") != 0;
    bool kept = false;
    {
        auto lock = list.Lock();
        if (stackPort) {
            if (FindPort(*port, list.virtualSerialPorts) == nullptr) {
                list.virtualSerialPorts.Append(port);
                kept = true;
            }
        } else if (FindPort(*port, found) == nullptr) {
            SettingsStore& settings = list.Settings();
            port->included = settings.FindExcludedPort(TComm::kSerial, port->displayName) == nullptr;
            if (const EXT_LIST_SERIALPORTS* saved = settings.FindSerialSettings(port->displayName))
                ApplySerialSettings(*port, *saved);
            found.Append(port);
            ++added;
            kept = true;
        }
    }
    if (!kept)
        delete port;
}

void SerialPortCollector::AddPlaceholder()
{
    auto* port = new TSerialPort;
    port->portName = "Последовательный порт";
    port->displayName = "Последовательный порт - не поддерживается";
    port->included = false;
    port->autoConnect = false;
    port->usable = false;
    {
        auto lock = list.Lock();
        if (FindPort(*port, found) == nullptr) {
            found.Append(port);
            return;
        }
    }
    delete port;
}
