#pragma once
#include <cstdint>

// OBEX response codes without the final bit, as the OBEX library takes them.
namespace obexcode {
constexpr uint8_t kSuccess = 0x20;
constexpr uint8_t kBadRequest = 0x40;
constexpr uint8_t kForbidden = 0x43;
constexpr uint8_t kNotFound = 0x44;
constexpr uint8_t kPreconditionFailed = 0x4C;
constexpr uint8_t kEntityTooLarge = 0x4D;
constexpr uint8_t kInternalError = 0x50;
constexpr uint8_t kNotImplemented = 0x51;
constexpr uint8_t kServiceUnavailable = 0x53;
}  // namespace obexcode

// Header ids of the phone's answers.
namespace obexheader {
constexpr uint8_t kWho = 0x4A;
constexpr uint8_t kAppParams = 0x4C;
constexpr uint8_t kLength = 0xC3;
constexpr uint8_t kConnectionId = 0xCB;
}  // namespace obexheader

// Request opcodes without the final bit.
namespace obexop {
constexpr uint8_t kConnect = 0x00;
constexpr uint8_t kDisconnect = 0x01;
constexpr uint8_t kPut = 0x02;
constexpr uint8_t kGet = 0x03;
constexpr uint8_t kSetPath = 0x05;
constexpr uint8_t kAction = 0x06;
}  // namespace obexop
