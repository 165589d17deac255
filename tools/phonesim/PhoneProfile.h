#pragma once
#include <string>
#include <string_view>

// Who the simulated phone claims to be and which optional behaviours it has.
struct PhoneProfile {
  std::string name;             // generic, nokia, siemens, samsung
  std::string manufacturer;     // AT+CGMI, MANU:
  std::string model;            // AT+CGMM, MOD:
  std::string serial;           // AT+CGSN, SN:
  std::string revision;         // AT+CGMR, SW-VERSION:
  std::string softwareDate;     // SW-DATE:
  std::string hardwareVersion;  // HW-VERSION:
  std::string hardwareDate;     // HW-DATE:
  std::string firmwareVersion;  // FW-VERSION:
  std::string firmwareDate;     // FW-DATE:
  bool obexSwitch = false;      // AT^SQWE switches the cable between AT and OBEX
  bool siemensObex = false;     // Siemens file-system target and memory query
};

bool FindProfile(std::string_view name, PhoneProfile& out);
const char* ProfileNames();

// The IrMC device-information object as the phone would store it.
std::string DeviceInfoText(const PhoneProfile& profile);
