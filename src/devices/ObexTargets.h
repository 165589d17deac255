// OBEX CONNECT targets the device models and identification use.
#pragma once

#include <cstdint>

// The folder-browsing service.
inline constexpr uint8_t FolderBrowsingTarget[16] = {0xF9, 0xEC, 0x7B, 0xC4, 0x95, 0x3C, 0x11, 0xD2,
                                                     0x98, 0x4E, 0x52, 0x54, 0x00, 0xDC, 0x9E, 0x09};
// Siemens phones' own file service.
inline constexpr uint8_t SiemensTarget[16] = {0x6B, 0x01, 0xCB, 0x31, 0x41, 0x06, 0x11, 0xD4,
                                              0x9A, 0x77, 0x00, 0x50, 0xDA, 0x3F, 0x47, 0x1F};
// IrMC synchronisation, where phones without folder browsing keep their device information.
inline constexpr uint8_t IrmcSyncTarget[9] = {'I', 'R', 'M', 'C', '-', 'S', 'Y', 'N', 'C'};
