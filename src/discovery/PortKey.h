// When two port objects stand for the same port: same kind and port name, and for IrDA and
// Bluetooth the same device address. Scans find their ports anew each time; this key ties a
// found port to the one already known.
#pragma once

#include "core/List.h"
#include "devices/TComm.h"

bool IsSamePort(const TComm& a, const TComm& b);

// The first port of the list that is the same port, or null.
template <class Port>
Port* FindPort(const TComm& port, const List<Port>& list)
{
    for (ListIterator<Port> it(list); !it.IsDone(); it.Next()) {
        if (IsSamePort(port, *it.CurrentItem()))
            return it.CurrentItem();
    }
    return nullptr;
}
