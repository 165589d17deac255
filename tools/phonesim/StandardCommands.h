#pragma once
#include "AtCommand.h"
#include "PhoneProfile.h"

// The commands every simulated phone knows (reset, echo, identification) and, when the
// profile has it, the Siemens switch between AT and OBEX mode.
void AddStandardCommands(AtCommandTable& table, const PhoneProfile& profile);
