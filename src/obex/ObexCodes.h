// The OBEX codes the program sends and reads, by name.
#pragma once

#include <cstdint>

namespace obex {

// Request opcodes as sent (bit 7 is the final bit).
constexpr uint8_t kConnect = 0x80;
constexpr uint8_t kDisconnect = 0x81;
constexpr uint8_t kPut = 0x02;
constexpr uint8_t kPutFinal = 0x82;
constexpr uint8_t kGetFinal = 0x83;
constexpr uint8_t kSetPath = 0x85;
constexpr uint8_t kActionFinal = 0x86;
constexpr uint8_t kAbort = 0xFF;

// Response codes taken as good.
constexpr uint8_t kContinue = 0x10;
constexpr uint8_t kContinueFinal = 0x90;
constexpr uint8_t kSuccess = 0x20;
constexpr uint8_t kSuccessFinal = 0xA0;

// Header ids. The top two bits give the encoding.
constexpr uint8_t kName = 0x01;
constexpr uint8_t kDestName = 0x15;
constexpr uint8_t kType = 0x42;
constexpr uint8_t kTime = 0x44;
constexpr uint8_t kTarget = 0x46;
constexpr uint8_t kBody = 0x48;
constexpr uint8_t kEndOfBody = 0x49;
constexpr uint8_t kAppParameters = 0x4C;
constexpr uint8_t kActionId = 0x94;
constexpr uint8_t kLength = 0xC3;
constexpr uint8_t kConnectionId = 0xCB;

constexpr uint8_t kEncodingMask = 0xC0;
constexpr uint8_t kEncodingUnicode = 0x00;
constexpr uint8_t kEncodingBytes = 0x40;
constexpr uint8_t kEncodingOneByte = 0x80;
constexpr uint8_t kEncodingFourBytes = 0xC0;

// Sizes of the fixed parts.
constexpr uint32_t kPacketHead = 3;      // code and 2-byte length
constexpr uint32_t kHeaderHead = 3;      // id and 2-byte length of a text or byte header
constexpr uint32_t kOneByteHeader = 2;   // id and value
constexpr uint32_t kFourByteHeader = 5;  // id and 32-bit value
constexpr uint32_t kConnectFields = 4;   // version, flags, 2-byte maximum packet length
constexpr uint32_t kConnectMaxPacketAt = kPacketHead + 2;
constexpr uint32_t kSetPathFields = 2;   // flags, constants

constexpr uint8_t kVersion10 = 0x10;

// SETPATH flags: without kSetPathNoCreate the phone creates the folder it is sent into.
constexpr uint8_t kSetPathBackUp = 0x01;
constexpr uint8_t kSetPathNoCreate = 0x02;

constexpr uint8_t kActionMove = 0x01;

// Application parameter tags of the Siemens extensions.
constexpr uint8_t kTagMemory = 0x32;
constexpr uint8_t kTagOperation = 0x34;
constexpr uint8_t kTagOldName = 0x35;
constexpr uint8_t kTagNewName = 0x36;

// Big-endian numbers of a packet.
inline uint32_t Be16(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 8) | p[1];
}

inline uint32_t Be32(const uint8_t* p)
{
    return (Be16(p) << 16) | Be16(p + 2);
}

}  // namespace obex
