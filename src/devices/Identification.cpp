#include "devices/Identification.h"

#include <cstring>
#include <memory>

#include "devices/ObexTargets.h"
#include "devices/SocketFactory.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "obex/OBEX_FTP.h"
#include "transport/Socket.h"

namespace {

struct AtQuery {
    const char* command;
    TComm::InfoIndex entry;
};

constexpr AtQuery kAtQueries[] = {
    {"AT+CGMI\r", TComm::kManufacturer},
    {"AT+CGMM\r", TComm::kModel},
    {"AT+CGSN\r", TComm::kSerialNumber},
    {"AT+CGMR\r", TComm::kSoftwareVersion},
};

struct DeviceInfoKey {
    const char* key;
    TComm::InfoIndex entry;
};

constexpr DeviceInfoKey kDeviceInfoKeys[] = {
    {"MANU:", TComm::kManufacturer},         {"MOD:", TComm::kModel},
    {"SN:", TComm::kSerialNumber},           {"SW-VERSION:", TComm::kSoftwareVersion},
    {"SW-DATE:", TComm::kSoftwareDate},      {"HW-VERSION:", TComm::kHardwareVersion},
    {"HW-DATE:", TComm::kHardwareDate},      {"FW-VERSION:", TComm::kFirmwareVersion},
    {"FW-DATE:", TComm::kFirmwareDate},
};

const char kDeviceInfoName[] = "telecom/devinfo.txt";

void StoreBounded(GString& entry, const char* bytes, uint32_t count)
{
    entry.Assign(bytes, count > kMaxInfoValueBytes ? kMaxInfoValueBytes : count);
}

Socket* AtSocket(TComm& port)
{
    if (Socket* socket = port.GetSocket(Socket::kChannelAt))
        return socket;
    Socket* socket = TheSocketFactory().CreateSocket(port, Socket::kChannelAt);
    if (socket == nullptr)
        return nullptr;
    if (!socket->Open()) {
        delete socket;
        return nullptr;
    }
    port.AddSocket(socket);
    return socket;
}

// One connection to the object store: the device information is read when the target is
// accepted. False when the phone refused the target.
bool ReadDeviceInfo(TComm& port, OBEX_FTP& obex, Socket* socket, const uint8_t* target, uint32_t length)
{
    if (!obex.Connect(socket, target, length))
        return false;
    GString text;
    obex.GetNamedObject(GString(kDeviceInfoName), text);
    if (!text.IsEmpty())
        ParseDeviceInfo(port, text);
    obex.Disconnect();
    return true;
}

}  // namespace

bool IdentifyByAt(TComm& port)
{
    Socket* socket = AtSocket(port);
    if (socket == nullptr)
        return false;
    for (const AtQuery& query : kAtQueries) {
        socket->Write(query.command, 0);
        if (socket->ReadReply(0) > 0)
            StoreBounded(port.info[query.entry], socket->reply.CStr(), socket->reply.Length());
    }
    return !port.info[TComm::kManufacturer].IsEmpty();
}

bool IdentifyByDeviceInfo(TComm& port)
{
    Socket* socket = port.GetSocket(Socket::kChannelObex);
    if (socket == nullptr || !socket->Open())
        return false;
    // The session's buffers are large: kept off the stack of the discovery thread.
    auto obex = std::make_unique<OBEX_FTP>();
    if (!ReadDeviceInfo(port, *obex, socket, FolderBrowsingTarget, sizeof FolderBrowsingTarget))
        ReadDeviceInfo(port, *obex, socket, IrmcSyncTarget, sizeof IrmcSyncTarget);
    socket->Close();
    obex.reset();
    return !port.info[TComm::kManufacturer].IsEmpty();
}

void ParseDeviceInfo(TComm& port, const GString& text)
{
    const char* bytes = text.CStr();
    const uint32_t length = text.Length();
    for (const DeviceInfoKey& key : kDeviceInfoKeys) {
        GString& entry = port.info[key.entry];
        entry.Assign("");
        uint32_t found = text.Find(key.key);
        if (found == 0)
            continue;
        uint32_t start = found - 1 + static_cast<uint32_t>(std::strlen(key.key));
        uint32_t end = start;
        while (end < length && bytes[end] != '\r' && bytes[end] != '\n' && bytes[end] != '\0')
            ++end;
        while (start < end && bytes[start] == ' ')
            ++start;
        // Cut before the trailing spaces go, so that a cut value has none either.
        if (end - start > kMaxInfoValueBytes)
            end = start + kMaxInfoValueBytes;
        while (end > start && bytes[end - 1] == ' ')
            --end;
        entry.Assign(bytes + start, end - start);
    }
}

bool TSerialPort::Identify() { return IdentifyByAt(*this); }

bool TIrDAPort::Identify() { return IdentifyByDeviceInfo(*this) || IdentifyByAt(*this); }

bool TBthPort::Identify()
{
    if (majorClass & 0x3) {
        info[kDeviceType] = "Сотовый телефон";
        if (IdentifyByDeviceInfo(*this) || IdentifyByAt(*this))
            return true;
    }
    if (majorClass & 0x4) {
        StoreBounded(info[kManufacturer], deviceName.CStr(), deviceName.Length());
        info[kDeviceType] = "Гарнитура (аудиоустройство)";
        return true;
    }
    return false;
}
