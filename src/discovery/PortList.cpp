#include "discovery/PortList.h"

PortList::~PortList()
{
    // No other thread runs any more: everything goes, ports being processed included.
    List<TComm> doomed;
    List<TSerialPort> virtuals;
    {
        auto lock = Lock();
        doomed.CopyFrom(ports);
        ports.RemoveAll();
        processing.RemoveAll();
        virtuals.CopyFrom(virtualSerialPorts);
        virtualSerialPorts.RemoveAll();
    }
    doomed.DeleteAll();
    virtuals.DeleteAll();
}

void PortList::DestroyAll()
{
    List<TComm> doomed;
    {
        auto lock = Lock();
        for (ListIterator<TComm> it(ports); !it.IsDone(); it.Next()) {
            if (!processing.Contains(it.CurrentItem()))
                doomed.Append(it.CurrentItem());
        }
        for (ListIterator<TComm> it(doomed); !it.IsDone(); it.Next())
            ports.Remove(it.CurrentItem());
    }
    // Ports may own devices, whose destruction stores their records under the same lock.
    doomed.DeleteAll();
}

uint32_t PortList::Count()
{
    auto lock = Lock();
    return ports.Count();
}

bool PortList::IsProcessing(const TComm* port) const { return processing.Contains(port); }
