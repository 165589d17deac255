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
#include "obex/ObexCodes.h"
#include "transport/Socket.h"

namespace {
const char kListingType[] = "x-obex/folder-listing";
// A name in a one-byte tag length: 127 UTF-16 characters without the terminator.
constexpr uint32_t kMaxTagValue = 254;
// "YYYYMMDDTHHMMSS", local time without a zone.
constexpr uint32_t kTimeTextLength = 15;

bool IsContinue(uint8_t code)
{
    return code == obex::kContinueFinal || code == obex::kContinue;
}
}  // namespace

bool OBEX_FTP::SendContinuation()
{
    RequestWriter writer = StartRequest(obex::kGetFinal);
    return Send(writer) && ReadResponse();
}

int32_t OBEX_FTP::FindHeader(uint32_t pos, uint8_t wanted) const
{
    while (pos < responseLength) {
        const uint8_t id = response[pos];
        uint32_t size;
        switch (id & obex::kEncodingMask) {
        case obex::kEncodingUnicode:
        case obex::kEncodingBytes:
            if (pos + obex::kHeaderHead > responseLength)
                return -1;
            size = obex::Be16(response + pos + 1);
            if (size < obex::kHeaderHead)
                return -1;
            break;
        case obex::kEncodingOneByte:
            size = obex::kOneByteHeader;
            break;
        default:
            size = obex::kFourByteHeader;
            break;
        }
        if (pos + size > responseLength)
            return -1;
        if (id == wanted || (wanted == obex::kBody && id == obex::kEndOfBody))
            return static_cast<int32_t>(pos);
        pos += size;
    }
    return -1;
}

int32_t OBEX_FTP::FindBody(uint32_t pos) const
{
    return FindHeader(pos, obex::kBody);
}

// The response in hand is good when this starts. Answers true when the object ended (End of
// Body, or a final response), false when the phone broke off, the sink stopped or the loop
// gave up.
template <class Sink>
bool OBEX_FTP::BodyLoop(Sink&& sink, WaitProgress* wait)
{
    uint32_t idle = 0;
    for (;;) {
        const bool more = IsContinue(response[0]);
        const int32_t at = FindBody(obex::kPacketHead);
        uint32_t count = 0;
        if (at >= 0) {
            count = obex::Be16(response + at + 1) - obex::kHeaderHead;
            if (!sink(response + at + obex::kHeaderHead, count))
                return false;
            // After End of Body, or once the phone called the object complete, asking again
            // would start a new request.
            if (response[at] == obex::kEndOfBody || !more)
                return true;
        } else if (!more) {
            return true;
        }
        // A phone that keeps answering "continue" without data would be asked for ever.
        idle = count == 0 ? idle + 1 : 0;
        if (idle > kMaxIdleResponses || (wait != nullptr && wait->IsCancelled())) {
            Abort();
            return false;
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
    RequestWriter writer = StartRequest(obex::kGetFinal);
    if (name != nullptr) {
        if (!PutName(writer, obex::kName, *name, true))
            return 0;
    } else {
        writer.Header(obex::kName, nullptr, 0);
    }
    if (type != nullptr)
        writer.Header(obex::kType, type, static_cast<uint32_t>(std::strlen(type)) + 1);
    if (!Send(writer) || !ReadResponse())
        return 0;
    // Some phones answer the request with an empty packet and then send the object
    // unasked.
    if (type != nullptr && responseLength > obex::kPacketHead && response[obex::kPacketHead] == 0 &&
        !ReadResponse())
        return 0;

    std::string body;
    WaitProgress* const wait = type != nullptr ? progressWindow : nullptr;
    auto sink = [&](const uint8_t* data, uint32_t n) {
        if (body.size() + n > kMaxObjectSize) {
            Abort();
            return false;
        }
        body.append(reinterpret_cast<const char*>(data), n);
        if (wait != nullptr)
            wait->Step();
        return true;
    };
    if (!BodyLoop(sink, wait))
        return 0;
    output.Assign(body.data(), static_cast<uint32_t>(body.size()));
    return static_cast<uint32_t>(body.size());
}

uint32_t OBEX_FTP::GetNamedObject(const GString& name, GString& output)
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
        if (wait != nullptr && wait->IsCancelled())
            return false;
        if (pass == 0) {
            DrainInput();
            const GString path = CurrentPath();
            // Re-enter only from the root: a refused root request leaves the phone where it
            // was, and the listing is tried there again.
            if (ChangeFolder("\\") && !ChangeFolder(path))
                return false;
        }
    }
    return false;
}

bool OBEX_FTP::SendSetPathTop()
{
    // An empty name and no back-up flag: with the back-up flag a phone may go up one level
    // only, and program and phone would be in different folders.
    const uint8_t fields[obex::kSetPathFields] = {obex::kSetPathNoCreate, 0};
    RequestWriter writer = StartRequest(obex::kSetPath, fields, sizeof fields);
    writer.Header(obex::kName, nullptr, 0);
    return Send(writer) && ReadResponse();
}

bool OBEX_FTP::ChangeFolder(const GString& path)
{
    if (socket == nullptr)
        return false;
    // pathParts changes only as the phone confirms each step, so that it always names the
    // folder the phone is in: a refused or unanswered request leaves it as it was.
    if (path.Equals("\\")) {
        if (!SendSetPathTop())
            return false;
        pathParts.DeleteAll();
        return true;
    }
    if (path.Equals("..")) {
        // The phone goes to the top and the remaining path is entered again.
        if (!SendSetPathTop())
            return false;
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
            if (!SendSetPath(obex::kSetPathNoCreate, component, true))
                return false;
            pathParts.Append(new GString(component));
        }
        start = i + 1;
    }
    return true;
}

bool OBEX_FTP::SendSetPath(uint8_t flags, const GString& name, bool terminator)
{
    const uint8_t fields[obex::kSetPathFields] = {flags, 0};
    RequestWriter writer = StartRequest(obex::kSetPath, fields, sizeof fields);
    if (!PutName(writer, obex::kName, name, terminator))
        return false;
    return Send(writer) && ReadResponse();
}

bool OBEX_FTP::CreateFolder(const GString& name)
{
    if (socket == nullptr)
        return false;
    // Without the no-create flag the phone creates the folder and enters it. The name carries
    // no terminator.
    if (!SendSetPath(0, name, false))
        return false;
    pathParts.Append(new GString(name));
    // Back to the folder the user is in; if the phone will not go, pathParts stays with it.
    return ChangeFolder("..");
}

bool OBEX_FTP::DeleteObject(const GString& name)
{
    response[0] = 0;
    if (socket == nullptr)
        return false;
    RequestWriter writer = StartRequest(obex::kPutFinal);
    if (!PutName(writer, obex::kName, name, true))
        return false;
    return Send(writer) && ReadResponse();
}

bool OBEX_FTP::RenameObject(const GString& oldName, const GString& newName)
{
    response[0] = 0;
    if (socket == nullptr)
        return false;
    if (!IsSerialPort()) {
        RequestWriter writer = StartRequest(obex::kActionFinal);
        writer.U8(obex::kActionId);
        writer.U8(obex::kActionMove);
        if (!PutName(writer, obex::kName, oldName, true) ||
            !PutName(writer, obex::kDestName, newName, true))
            return false;
        return Send(writer) && ReadResponse();
    }
    // Serial cables: a PUT with the names in tag-length-value triples. The length is one
    // byte: 127 characters at most, without the terminator.
    uint8_t oldBytes[kMaxTagValue];
    uint8_t newBytes[kMaxTagValue];
    const int32_t n = EncodeName(oldName, oldBytes, sizeof oldBytes, false);
    const int32_t m = EncodeName(newName, newBytes, sizeof newBytes, false);
    if (n < 0 || m < 0)
        return false;
    static const char kMove[] = "move";
    const uint32_t moveLength = sizeof kMove - 1;
    RequestWriter writer = StartRequest(obex::kPutFinal);
    writer.U8(obex::kAppParameters);
    writer.U16(obex::kHeaderHead + 3 * 2 + moveLength + static_cast<uint32_t>(n + m));
    writer.U8(obex::kTagOperation);
    writer.U8(moveLength);
    writer.Bytes(kMove, moveLength);
    writer.U8(obex::kTagOldName);
    writer.U8(static_cast<uint8_t>(n));
    writer.Bytes(oldBytes, static_cast<uint32_t>(n));
    writer.U8(obex::kTagNewName);
    writer.U8(static_cast<uint8_t>(m));
    writer.Bytes(newBytes, static_cast<uint32_t>(m));
    return Send(writer) && ReadResponse();
}

bool OBEX_FTP::GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress)
{
    if (socket == nullptr || entry == nullptr)
        return false;
    RequestWriter writer = StartRequest(obex::kGetFinal);
    if (!PutName(writer, obex::kName, entry->name, true))
        return false;
    if (progress != nullptr && progress->IsCancelled())
        return false;
    if (!Send(writer) || !ReadResponse())
        return false;

    // The size the file must have: the phone's Length header, else the listed size. A listed
    // 0 is no size: listings may leave the size out.
    const int32_t lengthAt = FindHeader(obex::kPacketHead, obex::kLength);
    const bool known = lengthAt >= 0 || entry->size > 0;
    const uint64_t expected = lengthAt >= 0 ? obex::Be32(response + lengthAt + 1) : entry->size;
    const uint64_t limit = known ? expected : UINT32_MAX;
    if (known && !sink.Reserve(static_cast<uint32_t>(expected))) {
        Abort();
        return false;
    }
    uint64_t received = 0;
    auto take = [&](const uint8_t* data, uint32_t count) {
        received += count;
        const bool stop = (progress != nullptr && progress->IsCancelled()) || received > limit ||
                          (count > 0 && !sink.Write(data, count));
        if (stop) {
            Abort();
            return false;
        }
        if (progress != nullptr) {
            if (count > 0)
                progress->AddTransferred(count);
            progress->PumpMessages();
        }
        return true;
    };
    return BodyLoop(take, nullptr) && (!known || received == expected);
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

    RequestWriter writer = StartRequest(obex::kPut);
    if (!PutName(writer, obex::kName, name, true))
        return fail();
    writer.Header32(obex::kLength, size);
    SystemTime t;
    if (FileTimeToLocalSystemTime(file->findData.lastWriteTime, t) && t.year <= 9999) {
        char text[40];
        std::snprintf(text, sizeof text, "%04u%02u%02uT%02u%02u%02u", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        writer.Header(obex::kTime, text, kTimeTextLength);
    }
    const uint32_t headers = writer.Length();
    if (!writer.Ok() || headers > peerMaxPacket)
        return fail();

    // The first data goes with the headers, in a final packet when the whole file fits.
    uint8_t* const first = request + headers + obex::kHeaderHead;
    uint32_t sent = 0;
    bool final = false;
    const int32_t room = static_cast<int32_t>(peerMaxPacket) - static_cast<int32_t>(headers) -
                         static_cast<int32_t>(obex::kHeaderHead);
    if (size == 0 && room >= 0) {
        writer.Header(obex::kEndOfBody, nullptr, 0);
        final = true;
    } else if (size > 0 && room > 0) {
        const uint32_t want = size < static_cast<uint32_t>(room) ? size : room;
        if (localFile.Read(first, want) != want)
            return fail();
        final = want == size;
        // The data is already in place: the header is written around it.
        writer.Header(final ? obex::kEndOfBody : obex::kBody, first, want);
        sent = want;
    }
    if (final)
        writer.SetCode(obex::kPutFinal);
    if (progress != nullptr)
        progress->SetFileSize(size);
    if (!Send(writer) || !ReadResponse())
        return fail();
    if (progress != nullptr && sent > 0) {
        progress->AddTransferred(sent);
        progress->PumpMessages();
    }

    // Anything after the first packet leaves a partial object behind when it goes wrong. The
    // clean-up's own answers must not hide why the upload failed: LastError keeps the
    // phone's refusal, or 0 when the phone refused nothing (a cancel, a local read error, a
    // cut link).
    auto breakOff = [&]() {
        const uint8_t failure = IsGoodCode(response[0]) ? 0 : response[0];
        Abort();
        DeleteObject(name);
        response[0] = failure;
        return fail();
    };
    const uint32_t packetHead = StartRequest(obex::kPut).Length() + obex::kHeaderHead;
    const uint32_t chunk = peerMaxPacket - packetHead;
    while (!final) {
        const uint32_t want = size - sent < chunk ? size - sent : chunk;
        final = sent + want >= size;
        RequestWriter next = StartRequest(final ? obex::kPutFinal : obex::kPut);
        uint8_t* const data = request + packetHead;
        if (want > 0 && localFile.Read(data, want) != want)
            return breakOff();
        next.Header(final ? obex::kEndOfBody : obex::kBody, data, want);
        if (progress != nullptr && progress->IsCancelled())
            return breakOff();
        const bool written = Send(next);
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
