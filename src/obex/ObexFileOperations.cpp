// The file operations of OBEX folder browsing: one request per Write, one response read
// with ReadResponse; GET and PUT loop over continuation packets.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/MessageReporter.h"
#include "devices/Device.h"
#include "devices/TComm.h"
#include "obex/LocalFileTime.h"
#include "obex/OBEX_FTP.h"
#include "transport/Socket.h"

namespace {
const char kListingType[] = "x-obex/folder-listing";
// Continue responses without any body that a GET tolerates in a row before it gives up.
constexpr uint32_t kMaxBodylessResponses = 64;

bool IsContinue(uint8_t code)
{
    return code == 0x90 || code == 0x10;
}

uint32_t Be16(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 8) | p[1];
}
}  // namespace

bool OBEX_FTP::SendContinuation()
{
    request[0] = 0x83;
    SetRequestLength(3);
    return SendRequest() && ReadResponse();
}

int32_t OBEX_FTP::FindBody(uint32_t pos) const
{
    while (pos < responseLength) {
        const uint8_t id = response[pos];
        uint32_t size;
        switch (id & 0xC0) {
        case 0x00:  // Unicode text
        case 0x40:  // byte sequence
            if (pos + 3 > responseLength)
                return -1;
            size = Be16(response + pos + 1);
            if (size < 3)
                return -1;
            break;
        case 0x80:
            size = 2;
            break;
        default:
            size = 5;
            break;
        }
        if (pos + size > responseLength)
            return -1;
        if (id == 0x48 || id == 0x49)
            return static_cast<int32_t>(pos);
        pos += size;
    }
    return -1;
}

// The response in hand is good when this starts. Answers true when the object ended (End of
// Body, or a final response), false when the phone broke off or the sink stopped.
template <class Sink>
bool OBEX_FTP::BodyLoop(Sink&& sink)
{
    uint32_t bodyless = 0;
    for (;;) {
        const bool more = IsContinue(response[0]);
        const int32_t at = FindBody(3);
        if (at < 0) {
            if (!more)
                return true;
            if (++bodyless > kMaxBodylessResponses)
                return false;
        } else {
            bodyless = 0;
            const uint32_t length = Be16(response + at + 1);
            if (!sink(response + at + 3, length - 3))
                return false;
            // After End of Body, or once the phone called the object complete, asking again
            // would start a new request.
            if (response[at] == 0x49 || !more)
                return true;
        }
        if (!SendContinuation())
            return false;
    }
}

uint32_t OBEX_FTP::GetTypedObject(GString& output, const GString* name, const char* type)
{
    output = "";
    if (socket == nullptr)
        return 0;
    request[0] = 0x83;
    uint32_t p = 3;
    if (name != nullptr) {
        const int32_t n = EncodeName(*name, request + p + 3, kBufferSize - p - 3, true);
        if (n < 0)
            return 0;
        PutHeader16(p, 0x01, static_cast<uint32_t>(n) + 3);
        p += static_cast<uint32_t>(n) + 3;
    } else {
        PutHeader16(p, 0x01, 3);
        p += 3;
    }
    if (type != nullptr) {
        const uint32_t t = static_cast<uint32_t>(std::strlen(type));
        if (p + t + 4 > kBufferSize)
            return 0;
        PutHeader16(p, 0x42, t + 4);
        std::memcpy(request + p + 3, type, t);
        request[p + 3 + t] = 0;
        p += t + 4;
    }
    SetRequestLength(p);
    if (!SendRequest() || !ReadResponse())
        return 0;
    // Some phones answer the request with an empty packet and then send the object
    // unasked.
    if (type != nullptr && responseLength > 3 && response[3] == 0x00 && !ReadResponse())
        return 0;

    std::string body;
    const bool stepWait = type != nullptr && progressWindow != nullptr;
    auto sink = [&](const uint8_t* data, uint32_t n) {
        if (body.size() + n > kMaxObjectSize) {
            Abort();
            return false;
        }
        body.append(reinterpret_cast<const char*>(data), n);
        if (stepWait)
            progressWindow->Step();
        return true;
    };
    if (!BodyLoop(sink))
        return 0;
    output.Assign(body.data(), static_cast<uint32_t>(body.size()));
    return static_cast<uint32_t>(body.size());
}

uint32_t OBEX_FTP::GetObject(const GString& name, GString& output)
{
    return GetTypedObject(output, &name, nullptr);
}

bool OBEX_FTP::ReadFolder(WaitProgress* wait)
{
    progressWindow = wait;
    if (socket == nullptr)
        return false;
    for (int pass = 0; pass < 2; ++pass) {
        GetTypedObject(listingText, nullptr, kListingType);
        if (!listingText.IsEmpty()) {
            if (socket->port != nullptr && socket->port->device != nullptr)
                socket->port->device->AfterListing(this);
            ParseListing();
            return true;
        }
        if (pass == 0) {
            DrainInput();
            const GString path = CurrentPath();
            ChangeFolder("\\");
            // Re-enter only from the root: a refused root request left pathParts as it was.
            if (pathParts.Count() == 0 && !ChangeFolder(path))
                return false;
        }
    }
    return false;
}

bool OBEX_FTP::ChangeFolder(const GString& path)
{
    if (socket == nullptr)
        return false;
    if (path.Equals("..") || path.Equals("\\")) {
        const bool toRoot = path.Equals("\\");
        // Both go to the top with an empty name and no back-up flag. With the back-up flag
        // (0x03) a phone may go up one level only, and the root request would then leave the
        // phone and pathParts in different folders.
        static const uint8_t kTop[8] = {0x85, 0x00, 0x08, 0x02, 0x00, 0x01, 0x00, 0x03};
        std::memcpy(request, kTop, sizeof kTop);
        requestLength = 8;
        const bool good = SendRequest() && ReadResponse();
        if (!good)
            return true;
        if (toRoot) {
            pathParts.DeleteAll();
            return true;
        }
        // The phone is now at the top: enter the remaining path again.
        if (pathParts.Count() > 0) {
            GString* last = pathParts.Get(pathParts.Count() - 1);
            pathParts.Remove(last);
            delete last;
        }
        const GString rest = CurrentPath();
        pathParts.DeleteAll();
        return ChangeFolder(rest);
    }

    const char* text = path.CStr();
    const uint32_t length = path.Length();
    uint32_t start = 0;
    for (uint32_t i = 0; i <= length; ++i) {
        if (i < length && text[i] != '\\' && text[i] != '/')
            continue;
        if (i > start) {
            GString component(text + start, i - start);
            if (!SendSetPath(0x02, component, true))
                return false;
            pathParts.Append(new GString(component));
        }
        start = i + 1;
    }
    return true;
}

bool OBEX_FTP::SendSetPath(uint8_t flags, const GString& name, bool terminator)
{
    request[0] = 0x85;
    request[3] = flags;
    request[4] = 0x00;
    const int32_t n = EncodeName(name, request + 8, kBufferSize - 8, terminator);
    if (n < 0)
        return false;
    PutHeader16(5, 0x01, static_cast<uint32_t>(n) + 3);
    SetRequestLength(static_cast<uint32_t>(n) + 8);
    return SendRequest() && ReadResponse();
}

bool OBEX_FTP::CreateFolder(const GString& name)
{
    if (socket == nullptr)
        return false;
    // Flags 0x00 let the phone create the folder. The name carries no terminator.
    if (!SendSetPath(0x00, name, false))
        return false;
    pathParts.Append(new GString(name));
    ChangeFolder("..");
    return true;
}

bool OBEX_FTP::DeleteObject(const GString& name)
{
    response[0] = 0;
    if (socket == nullptr)
        return false;
    request[0] = 0x82;
    const int32_t n = EncodeName(name, request + 6, kBufferSize - 6, true);
    if (n < 0)
        return false;
    PutHeader16(3, 0x01, static_cast<uint32_t>(n) + 3);
    SetRequestLength(static_cast<uint32_t>(n) + 6);
    return SendRequest() && ReadResponse();
}

bool OBEX_FTP::RenameObject(const GString& oldName, const GString& newName)
{
    response[0] = 0;
    if (socket == nullptr)
        return false;
    if (!IsSerialPort()) {
        request[0] = 0x86;
        request[3] = 0x94;
        request[4] = 0x01;  // move / rename
        const int32_t n = EncodeName(oldName, request + 8, kBufferSize - 8, true);
        if (n < 0)
            return false;
        PutHeader16(5, 0x01, static_cast<uint32_t>(n) + 3);
        const uint32_t at = 8 + static_cast<uint32_t>(n);
        const int32_t m = EncodeName(newName, request + at + 3, kBufferSize - at - 3, true);
        if (m < 0)
            return false;
        PutHeader16(at, 0x15, static_cast<uint32_t>(m) + 3);
        SetRequestLength(static_cast<uint32_t>(n + m) + 11);
    } else {
        // The names travel in tag-length-value triples with a one-byte length: 127
        // characters at most.
        request[0] = 0x82;
        static const uint8_t kMove[6] = {0x34, 0x04, 'm', 'o', 'v', 'e'};
        std::memcpy(request + 6, kMove, sizeof kMove);
        request[12] = 0x35;
        const int32_t n = EncodeName(oldName, request + 14, 254, false);
        if (n < 0)
            return false;
        request[13] = static_cast<uint8_t>(n);
        const uint32_t at = 14 + static_cast<uint32_t>(n);
        request[at] = 0x36;
        const int32_t m = EncodeName(newName, request + at + 2, 254, false);
        if (m < 0)
            return false;
        request[at + 1] = static_cast<uint8_t>(m);
        const uint32_t total = at + 2 + static_cast<uint32_t>(m);
        PutHeader16(3, 0x4C, total - 3);
        SetRequestLength(total);
    }
    return SendRequest() && ReadResponse();
}

uint32_t OBEX_FTP::GetFile(FolderObject* entry, uint8_t* buffer, uint32_t bufferSize,
                           OperationProgress* progress)
{
    if (socket == nullptr || entry == nullptr)
        return 0;
    const uint32_t limit = entry->size < bufferSize ? entry->size : bufferSize;
    if (buffer == nullptr && limit > 0)
        return 0;
    request[0] = 0x83;
    const int32_t n = EncodeName(entry->name, request + 6, kBufferSize - 6, true);
    if (n < 0)
        return 0;
    PutHeader16(3, 0x01, static_cast<uint32_t>(n) + 3);
    SetRequestLength(static_cast<uint32_t>(n) + 6);
    if (progress != nullptr && progress->IsCancelled())
        return 0;
    if (!SendRequest() || !ReadResponse())
        return 0;

    uint32_t stored = 0;
    uint64_t received = 0;
    auto sink = [&](const uint8_t* data, uint32_t count) {
        if (progress != nullptr && progress->IsCancelled()) {
            Abort();
            return false;
        }
        // Past what the entry announced the bytes are only consumed; a phone that goes on
        // far beyond it is stopped.
        received += count;
        if (received > static_cast<uint64_t>(limit) + kMaxObjectSize) {
            Abort();
            return false;
        }
        if (stored < limit) {
            const uint32_t take = count < limit - stored ? count : limit - stored;
            std::memcpy(buffer + stored, data, take);
            stored += take;
            if (progress != nullptr)
                progress->AddTransferred(take);
        }
        if (progress != nullptr)
            progress->PumpMessages();
        return true;
    };
    BodyLoop(sink);
    return stored;
}

bool OBEX_FTP::PutFile(FileInformation* file, OperationProgress* progress)
{
    response[0] = 0;
    if (socket == nullptr || file == nullptr)
        return false;
    if (!localFile.Open(file->path.CStr(), FileAccess::kGenericRead,
                        FileAccess::kShareRead | FileAccess::kShareWrite,
                        FileAccess::kOpenExisting)) {
        Reporter().Report(MessageKind::SystemError, 0);
        return false;
    }
    // OBEX carries sizes in 32 bits: a larger file cannot be sent with a true Length header.
    const uint64_t size64 = localFile.Size64();
    const GString name(file->findData.fileName,
                       static_cast<uint32_t>(strnlen(file->findData.fileName,
                                                     sizeof file->findData.fileName)));
    auto fail = [this]() {
        localFile.Close();
        return false;
    };
    if (size64 > 0xFFFFFFFFull)
        return fail();
    const uint32_t size = static_cast<uint32_t>(size64);

    request[0] = 0x02;
    uint32_t p = 3;
    const int32_t n = EncodeName(name, request + p + 3, kBufferSize - p - 3, true);
    if (n < 0)
        return fail();
    PutHeader16(p, 0x01, static_cast<uint32_t>(n) + 3);
    p += static_cast<uint32_t>(n) + 3;
    request[p] = 0xC3;
    request[p + 1] = static_cast<uint8_t>(size >> 24);
    request[p + 2] = static_cast<uint8_t>(size >> 16);
    request[p + 3] = static_cast<uint8_t>(size >> 8);
    request[p + 4] = static_cast<uint8_t>(size);
    p += 5;
    SystemTime t;
    if (FileTimeToLocalSystemTime(file->findData.lastWriteTime, t) && t.year <= 9999) {
        char text[40];
        std::snprintf(text, sizeof text, "%04u%02u%02uT%02u%02u%02u", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        PutHeader16(p, 0x44, 18);
        std::memcpy(request + p + 3, text, 15);
        p += 18;
    }
    if (p > peerMaxPacket)
        return fail();

    uint32_t sent = 0;
    bool final = false;
    const int32_t room = static_cast<int32_t>(peerMaxPacket) - static_cast<int32_t>(p) - 3;
    if (size == 0 && room >= 0) {
        PutHeader16(p, 0x49, 3);
        p += 3;
        final = true;
    } else if (size > 0 && room > 0) {
        const uint32_t want = size < static_cast<uint32_t>(room) ? size : room;
        if (localFile.Read(request + p + 3, want) != want)
            return fail();
        final = want == size;
        PutHeader16(p, final ? 0x49 : 0x48, want + 3);
        p += want + 3;
        sent = want;
    }
    if (final)
        request[0] = 0x82;
    SetRequestLength(p);
    if (progress != nullptr)
        progress->SetFileSize(size);
    if (!SendRequest() || !ReadResponse())
        return fail();
    if (progress != nullptr && sent > 0) {
        progress->AddTransferred(sent);
        progress->PumpMessages();
    }

    // Anything after the first packet leaves a partial object behind when it goes wrong.
    auto breakOff = [&]() {
        Abort();
        DeleteObject(name);
        return fail();
    };
    const uint32_t chunk = peerMaxPacket - 6;
    while (!final) {
        const uint32_t want = size - sent < chunk ? size - sent : chunk;
        if (want > 0 && localFile.Read(request + 6, want) != want)
            return breakOff();
        final = sent + want >= size;
        request[0] = final ? 0x82 : 0x02;
        PutHeader16(3, final ? 0x49 : 0x48, want + 3);
        SetRequestLength(want + 6);
        if (progress != nullptr && progress->IsCancelled())
            return breakOff();
        const bool written = SendRequest();
        if (progress != nullptr && written)
            progress->AddTransferred(want);
        if (!written || !ReadResponse())
            return breakOff();
        sent += want;
        if (progress != nullptr)
            progress->PumpMessages();
    }
    localFile.Close();
    return true;
}
