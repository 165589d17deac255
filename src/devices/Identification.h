// Asking a connected phone who it is. The answers fill the port's info strings.
#pragma once

#include "core/GString.h"

class TComm;

// "AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT+CGMR\r" on the port's AT socket (opened when
// the port has none yet): the last information line of each answer becomes manufacturer,
// model, serial number and software version. True when a manufacturer was learnt.
bool IdentifyByAt(TComm& port);
