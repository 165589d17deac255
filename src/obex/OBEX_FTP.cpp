#include "obex/OBEX_FTP.h"

#include <cstring>

#include "core/Clock.h"
#include "core/CodePage.h"
#include "devices/TComm.h"
#include "obex/ObexCodes.h"
#include "transport/Socket.h"

namespace {
// A serial phone needs time to switch its stack before it answers a CONNECT.
constexpr uint32_t kSerialConnectWaitMs = 1000;
// The memory query's name travels with a one-byte count, and its tag length (n + 3) too.
constexpr uint32_t kMaxMemoryQueryName = 252;
}  // namespace

bool OBEX_FTP::IsGoodCode(uint8_t code)
{
    return code == obex::kContinueFinal || code == obex::kContinue ||
           code == obex::kSuccessFinal || code == obex::kSuccess;
}

OBEX_FTP::OBEX_FTP()
{
    std::memset(request, 0, sizeof request);
    std::memset(response, 0, sizeof response);
}

OBEX_FTP::~OBEX_FTP() = default;

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

RequestWriter OBEX_FTP::StartRequest(uint8_t opcode, const uint8_t* fields, uint32_t fieldCount)
{
    RequestWriter writer(request, kBufferSize, opcode);
    writer.Bytes(fields, fieldCount);
    if (hasConnectionId)
        writer.Header32(obex::kConnectionId, connectionId);
    return writer;
}

bool OBEX_FTP::Send(RequestWriter& writer)
{
    if (!writer.Finish())
        return false;
    requestLength = static_cast<int32_t>(writer.Length());
    return SendRequest();
}

bool OBEX_FTP::PutName(RequestWriter& writer, uint8_t id, const GString& name, bool terminator)
{
    uint8_t bytes[2 * kNameUnits];
    const int32_t n = EncodeName(name, bytes, sizeof bytes, terminator);
    if (n < 0)
        return false;
    writer.Header(id, bytes, static_cast<uint32_t>(n));
    return writer.Ok();
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
    if (ReadFully(socket, response, obex::kPacketHead) < obex::kPacketHead)
        return false;
    const uint32_t length = (static_cast<uint32_t>(response[1]) << 8) | response[2];
    if (length < obex::kPacketHead || length > kBufferSize) {
        // Nothing after such a header can be trusted: throw the rest of it away.
        DrainInput();
        return false;
    }
    responseLength = static_cast<uint16_t>(length);
    const uint32_t rest = length - obex::kPacketHead;
    const uint32_t got = ReadFully(socket, response + obex::kPacketHead, rest);
    if (!IsGoodCode(response[0]))
        return false;
    return got == rest;
}

bool OBEX_FTP::Abort()
{
    if (socket == nullptr)
        return false;
    // The answer may carry headers: it is read whole, or its tail would be taken for the
    // answer to the next request.
    RequestWriter writer = StartRequest(obex::kAbort);
    return Send(writer) && ReadResponse();
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
    hasConnectionId = false;
    if (socket == nullptr)
        return false;
    if (target == nullptr)
        targetLength = 0;

    RequestWriter writer(request, kBufferSize, obex::kConnect);
    writer.U8(obex::kVersion10);
    writer.U8(0);  // flags
    writer.U16(kBufferSize);
    if (targetLength > 0)
        writer.Header(obex::kTarget, target, targetLength);
    if (!writer.Finish())
        return false;
    requestLength = static_cast<int32_t>(writer.Length());

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
    TakeConnectAnswer();
    return true;
}

void OBEX_FTP::TakeConnectAnswer()
{
    connected = true;
    const uint32_t fieldsEnd = obex::kPacketHead + obex::kConnectFields;
    // A response too short to carry the field leaves it 0, which the clamp turns into the
    // smallest packet OBEX allows.
    const uint32_t announced =
        responseLength >= fieldsEnd ? obex::Be16(response + obex::kConnectMaxPacketAt) : 0;
    SetPeerMaxPacket(announced);
    // A phone that names the connection expects that name in every request that follows.
    const int32_t id = FindHeader(fieldsEnd, obex::kConnectionId);
    if (id >= 0) {
        hasConnectionId = true;
        connectionId = obex::Be32(response + id + 1);
    }
}

bool OBEX_FTP::Disconnect()
{
    if (socket == nullptr) {
        connected = false;
        hasConnectionId = false;
        return true;
    }
    RequestWriter writer = StartRequest(obex::kDisconnect);
    if (!Send(writer) || !ReadResponse())
        return false;
    connected = false;
    hasConnectionId = false;
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
    // One Application Parameters header with the memory tag: the value, then, below the
    // root, the top folder's name preceded by its byte count.
    uint8_t name[2 * kNameUnits];
    int32_t n = -1;
    if (pathParts.Count() > 0) {
        GString text("\\");
        text.Append(*pathParts.Get(0));
        n = EncodeName(text, name, kMaxMemoryQueryName, true);
        if (n < 0)
            return 0;
    }
    // The value: which, then the name's count and the name. Phones take a tag length of
    // n + 3 with a name, one more than those bytes.
    const uint32_t valueBytes = n < 0 ? 1 : 2 + static_cast<uint32_t>(n);
    const uint32_t tagLength = n < 0 ? 1 : static_cast<uint32_t>(n) + 3;
    RequestWriter writer = StartRequest(obex::kGetFinal);
    writer.U8(obex::kAppParameters);
    writer.U16(obex::kHeaderHead + 2 + valueBytes);
    writer.U8(obex::kTagMemory);
    writer.U8(static_cast<uint8_t>(tagLength));
    writer.U8(which);
    if (n >= 0) {
        writer.U8(static_cast<uint8_t>(n));
        writer.Bytes(name, static_cast<uint32_t>(n));
    }
    if (!Send(writer) || !ReadResponse())
        return 0;
    // The answer: Application Parameters, the memory tag, its length k, k value bytes.
    const uint32_t header = obex::kPacketHead;
    const uint32_t tag = header + obex::kHeaderHead;
    if (responseLength < tag + 2 || response[header] != obex::kAppParameters ||
        response[tag] != obex::kTagMemory)
        return 0;
    const uint32_t k = response[tag + 1];
    const uint32_t valueAt = tag + 2;
    if (k > 4 || valueAt + k > responseLength)
        return 0;
    uint32_t value = 0;
    for (uint32_t i = 0; i < k; ++i)
        value = (value << 8) | response[valueAt + i];
    return value;
}
