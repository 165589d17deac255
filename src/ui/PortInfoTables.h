// What the port information dialogs list: the profiles an IrDA device announces in its hint
// bytes, the description of a Bluetooth service by its 16-bit service class, and the lines of
// the list of all serial ports.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"

// One row of a profile list: the profile's name and the string id of its description (0:
// none).
struct ProfileRow {
    const char* profile;
    uint32_t descriptionId;
};

// The rows of the hint bits that are set, in the order of the hint table.
std::vector<ProfileRow> IrdaProfileRows(const uint8_t hints[2]);
// The description string of a service class; 0 when there is none.
uint32_t ServiceDescriptionId(uint16_t serviceClass);
// "COM3:   USB Serial Port": the port name, a colon and three spaces, the display name.
GString SerialPortListLine(const GString& portName, const GString& displayName);
