// How the IrDA and Bluetooth polls hand a port they made to the scan.
#pragma once

#include "core/List.h"

class PortList;
class TComm;

// Takes the port (owned by found from here on), switched off when the user excluded it.
void AddFoundPort(PortList& list, List<TComm>& found, TComm* port);
