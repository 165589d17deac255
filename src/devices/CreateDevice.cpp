#include "devices/Device.h"
#include "devices/NOKIA_Device.h"
#include "devices/SAMSUNG_Device.h"
#include "devices/SIEMENS_Device.h"

Device* CreateDevice(Manufacturer manufacturer, TComm* port)
{
    switch (manufacturer) {
    case Manufacturer::Siemens:
        return new SIEMENS_Device(port);
    case Manufacturer::Nokia:
        return new NOKIA_Device(port);
    case Manufacturer::Samsung:
        return new SAMSUNG_Device(port);
    case Manufacturer::Generic:
        break;
    }
    return new Device(port);
}
