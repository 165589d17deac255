#include "discovery/FoundPorts.h"

#include "devices/TComm.h"
#include "discovery/PortList.h"

void AddFoundPort(PortList& list, List<TComm>& found, TComm* port)
{
    {
        auto lock = list.Lock();
        if (port->usable)
            port->included = list.Settings().FindExcludedPort(port->kind, port->displayName) == nullptr;
    }
    found.Append(port);
}
