#include "obex/OBEX_FTP.h"

#include <cstring>

#include "core/Clock.h"
#include "core/CodePage.h"
#include "devices/TComm.h"
#include "transport/Socket.h"

namespace {
// A serial phone needs time to switch its stack before it answers a CONNECT.
constexpr uint32_t kSerialConnectWaitMs = 1000;
}  // namespace

bool OBEX_FTP::IsGoodCode(uint8_t code)
{
    return code == 0x90 || code == 0x10 || code == 0xA0 || code == 0x20;
}

OBEX_FTP::OBEX_FTP()
{
    std::memset(request, 0, sizeof request);
    std::memset(response, 0, sizeof response);
}

OBEX_FTP::~OBEX_FTP() = default;

void OBEX_FTP::SetRequestLength(uint32_t length)
{
    requestLength = static_cast<int32_t>(length);
    request[1] = static_cast<uint8_t>(length >> 8);
    request[2] = static_cast<uint8_t>(length);
}

void OBEX_FTP::PutHeader16(uint32_t at, uint8_t id, uint32_t length)
{
    request[at] = id;
    request[at + 1] = static_cast<uint8_t>(length >> 8);
    request[at + 2] = static_cast<uint8_t>(length);
}

bool OBEX_FTP::IsSerialPort() const
{
    return socket != nullptr && socket->port != nullptr && socket->port->kind == 0;
}

int32_t OBEX_FTP::EncodeName(const GString& name, uint8_t* out, uint32_t cap, bool terminator)
{
    const int units = AnsiToUtf16(name.CStr(), static_cast<int>(name.Length()) + 1, wideName,
                                  static_cast<int>(kNameUnits));
    if (units <= 0)
        return -1;
    const uint32_t count = static_cast<uint32_t>(units) - (terminator ? 0 : 1);
    if (count * 2 > cap)
        return -1;
    for (uint32_t i = 0; i < count; ++i) {
        out[2 * i] = static_cast<uint8_t>(wideName[i] >> 8);
        out[2 * i + 1] = static_cast<uint8_t>(wideName[i]);
    }
    return static_cast<int32_t>(count * 2);
}

bool OBEX_FTP::SendRequest()
{
    if (socket == nullptr || requestLength <= 0)
        return false;
    return socket->Write(request, requestLength) == requestLength;
}

namespace {
// Reads until count bytes arrived or a read brings nothing; answers the bytes read.
uint32_t ReadFully(Socket* socket, uint8_t* buffer, uint32_t count)
{
    uint32_t got = 0;
    while (got < count) {
        const int32_t n = socket->Read(buffer + got, static_cast<int32_t>(count - got));
        if (n <= 0)
            break;
        got += static_cast<uint32_t>(n) < count - got ? static_cast<uint32_t>(n) : count - got;
    }
    return got;
}
}  // namespace

bool OBEX_FTP::ReadResponse()
{
    std::memset(response, 0, 10);
    responseLength = 0;
    if (socket == nullptr)
        return false;
    if (ReadFully(socket, response, 3) < 3)
        return false;
    const uint32_t length = (static_cast<uint32_t>(response[1]) << 8) | response[2];
    if (length < 3 || length > kBufferSize) {
        // Nothing after such a header can be trusted: throw the rest of it away.
        DrainInput();
        return false;
    }
    responseLength = static_cast<uint16_t>(length);
    const uint32_t got = ReadFully(socket, response + 3, length - 3);
    if (!IsGoodCode(response[0]))
        return false;
    return got == length - 3;
}

bool OBEX_FTP::Abort()
{
    static const uint8_t kAbort[3] = {0xFF, 0x00, 0x03};
    if (socket == nullptr)
        return false;
    std::memcpy(request, kAbort, sizeof kAbort);
    requestLength = 3;
    if (!SendRequest())
        return false;
    uint8_t answer[3];
    return ReadFully(socket, answer, 3) > 0;
}

void OBEX_FTP::SetPeerMaxPacket(uint32_t announced)
{
    uint32_t size = announced;
    if (size > 1024)
        size &= ~0x3FFu;
    if (size < kMinPeerPacket)
        size = kMinPeerPacket;
    if (size > kBufferSize)
        size = kBufferSize;
    peerMaxPacket = size;
}

bool OBEX_FTP::Connect(Socket* s, const uint8_t* target, uint32_t targetLength)
{
    if (connected)
        return true;
    socket = s;
    if (socket == nullptr)
        return false;
    if (target == nullptr)
        targetLength = 0;
    if (targetLength > kBufferSize - 10)
        return false;

    request[0] = 0x80;
    request[3] = 0x10;  // OBEX 1.0
    request[4] = 0x00;  // flags
    request[5] = static_cast<uint8_t>(kBufferSize >> 8);
    request[6] = static_cast<uint8_t>(kBufferSize);
    uint32_t length = 7;
    if (targetLength > 0) {
        PutHeader16(7, 0x46, 3 + targetLength);
        std::memcpy(request + 10, target, targetLength);
        length = 10 + targetLength;
    }
    SetRequestLength(length);

    const bool serial = IsSerialPort();
    const bool sent = SendRequest();
    if (serial)
        SleepMs(kSerialConnectWaitMs);
    if (!sent || !ReadResponse()) {
        DrainInput();
        if (!SendRequest())
            return false;
        if (serial)
            SleepMs(kSerialConnectWaitMs);
        if (!ReadResponse())
            return false;
    }
    connected = true;
    // A response too short to carry the field leaves it 0, which the clamp turns into the
    // smallest packet OBEX allows.
    const uint32_t announced =
        responseLength >= 7 ? (static_cast<uint32_t>(response[5]) << 8) | response[6] : 0;
    SetPeerMaxPacket(announced);
    return true;
}

bool OBEX_FTP::Disconnect()
{
    if (socket == nullptr) {
        connected = false;
        return true;
    }
    request[0] = 0x81;
    SetRequestLength(3);
    if (!SendRequest() || !ReadResponse())
        return false;
    connected = false;
    return true;
}

int OBEX_FTP::LastError()
{
    return response[0];
}

uint32_t OBEX_FTP::QueryMemory(uint8_t which)
{
    if (socket == nullptr)
        return 0;
    request[0] = 0x83;
    request[3] = 0x4C;
    request[6] = 0x32;
    if (pathParts.Count() > 0) {
        GString text("\\");
        text.Append(*pathParts.Get(0));
        // The name's byte count travels in one byte, and the tag length (n + 3) as well.
        const int32_t n = EncodeName(text, request + 10, 252, true);
        if (n < 0)
            return 0;
        request[7] = static_cast<uint8_t>(n + 3);
        request[8] = which;
        request[9] = static_cast<uint8_t>(n);
        request[4] = static_cast<uint8_t>((n + 7) >> 8);
        request[5] = static_cast<uint8_t>(n + 7);
        SetRequestLength(static_cast<uint32_t>(n) + 10);
    } else {
        request[4] = 0x00;
        request[5] = 0x06;
        request[7] = 0x01;
        request[8] = which;
        SetRequestLength(9);
    }
    if (!SendRequest() || !ReadResponse())
        return 0;
    if (responseLength < 8 || response[3] != 0x4C || response[6] != 0x32)
        return 0;
    const uint32_t k = response[7];
    if (k > 4 || 8 + k > responseLength)
        return 0;
    uint32_t value = 0;
    for (uint32_t i = 0; i < k; ++i)
        value = (value << 8) | response[8 + i];
    return value;
}
