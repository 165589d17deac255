#include "PhoneProfile.h"

namespace {

const PhoneProfile kProfiles[] = {
    {"generic", "Generic", "GSM Phone", "350000000000001", "1.00", "20040101", "1.0", "20040101", "", "",
     false, false},
    {"nokia", "Nokia", "Nokia 6230i", "351234567890123", "V 03.80", "20051114", "0720", "", "", "", false,
     false},
    {"siemens", "SIEMENS", "S65", "354000000000003", "25", "20050315", "", "", "", "", true, true},
    {"samsung", "SAMSUNG", "SGH-E250", "357000000000009", "E250XXHE1", "", "", "", "", "", false, false},
};

}  // namespace

bool FindProfile(std::string_view name, PhoneProfile& out) {
  for (const PhoneProfile& p : kProfiles) {
    if (p.name == name) {
      out = p;
      return true;
    }
  }
  return false;
}

const char* ProfileNames() { return "generic|nokia|siemens|samsung"; }

std::string DeviceInfoText(const PhoneProfile& profile) {
  std::string text = "MANU:" + profile.manufacturer + "\r\n";
  text += "MOD:" + profile.model + "\r\n";
  text += "SN:" + profile.serial + "\r\n";
  text += "IRMC-VERSION:1.1\r\n";
  text += "SW-VERSION:" + profile.revision + "\r\n";
  const std::pair<const char*, const std::string*> optional[] = {
      {"SW-DATE:", &profile.softwareDate},       {"HW-VERSION:", &profile.hardwareVersion},
      {"HW-DATE:", &profile.hardwareDate},       {"FW-VERSION:", &profile.firmwareVersion},
      {"FW-DATE:", &profile.firmwareDate},
  };
  for (const auto& [key, value] : optional) {
    if (!value->empty()) text += key + *value + "\r\n";
  }
  return text;
}
