// Asking a connected phone who it is. The answers fill the port's info strings, which the
// device information view shows and the device settings use as the phone's key.
#pragma once

#include <cstdint>

#include "core/GString.h"

class TComm;

// Longest value kept from a phone's answer (identity lines, device-information values); a
// longer one is cut.
constexpr uint32_t kMaxInfoValueBytes = 255;

// "AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT+CGMR\r" on the port's AT socket (opened when
// the port has none yet): the last information line of each answer becomes manufacturer,
// model, serial number and software version. True when a manufacturer was learnt.
bool IdentifyByAt(TComm& port);
// Reads "telecom/devinfo.txt" over the port's OBEX socket, connecting with the
// folder-browsing target or, when that is refused, "IRMC-SYNC". True when a manufacturer
// was learnt.
bool IdentifyByDeviceInfo(TComm& port);
// Fills manufacturer, model, serial number and the version and date entries from the text
// of the device-information object; a key that does not occur leaves its entry empty.
void ParseDeviceInfo(TComm& port, const GString& text);
