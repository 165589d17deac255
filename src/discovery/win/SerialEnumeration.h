// The serial poll of a scan: the COM ports of the machine, USB and other virtual ones
// included, as TSerialPort objects in the found list.
#pragma once

#include "core/GString.h"
#include "core/List.h"

class PortList;
class TComm;

// Lists the COM-port device interfaces of both interface classes, with their COM names from
// the registry. Where the system lists no interface of either class (Wine), the ports of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM are taken instead.
void EnumerateSerialPorts(PortList& list, List<TComm>& found);

// The COM name of a device, from its driver key and service name: the service lists the
// device instances it drives; the one whose driver key is the device's own has the name in
// its device parameters. Empty when the registry does not say.
GString ComNameOfDevice(const GString& driverKey, const GString& service);
