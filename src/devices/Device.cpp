#include "devices/Device.h"

#include "obex/FTP.h"

Manufacturer ManufacturerFromText(const GString& text)
{
    GString upper(text);
    upper.ToUpper();
    if (upper.Find("SIEMENS") != 0)
        return Manufacturer::Siemens;
    if (upper.Find("NOKIA") != 0)
        return Manufacturer::Nokia;
    if (upper.Find("SAMSUNG") != 0)
        return Manufacturer::Samsung;
    return Manufacturer::Generic;
}

Device::Device(TComm* port) : port(port) {}

Device::~Device() { delete fileAccess; }

void Device::ReleaseSocket(Socket*) {}

bool Device::EnterObexMode(Socket*) { return false; }

bool Device::LeaveObexMode(Socket*) { return false; }

Device* CreateDevice(Manufacturer, TComm* port) { return new Device(port); }
