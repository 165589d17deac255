#include "samsung/SAMSUNG_AT_FS.h"

#include <vector>

#include "samsung/AtLine.h"
#include "samsung/SamsungRecords.h"
#include "samsung/WireName.h"
#include "transport/Socket.h"

namespace {

constexpr char kPageMarker[] = "#OK#";
constexpr char kNext[] = "##>\r\n";
constexpr char kBlockMarker[] = "+FSFR:";
constexpr uint32_t kBlockMarkerLength = sizeof kBlockMarker - 1;

// Components of a relative path, split at '\\' and '/', empty ones skipped.
std::vector<GString> SplitPath(const GString& path)
{
    std::vector<GString> parts;
    const char* p = path.CStr();
    uint32_t start = 0;
    for (uint32_t i = 0; i <= path.Length(); ++i) {
        if (i == path.Length() || p[i] == '\\' || p[i] == '/') {
            if (i > start)
                parts.emplace_back(p + start, i - start);
            start = i + 1;
        }
    }
    return parts;
}

GString FromView(std::string_view text)
{
    return GString(text.data(), static_cast<uint32_t>(text.size()));
}

}  // namespace

bool SAMSUNG_AT_FS::Connect(Socket* s, const uint8_t*, uint32_t)
{
    socket = s;
    if (socket == nullptr)
        return false;
    socket->Write("AT+FSIF=0\r", 0);
    // A phone that stays silent is taken to have the file system; one that refuses has not.
    if (socket->ReadReply(0) > 0 && !socket->result.Equals("OK"))
        return false;
    connected = true;
    return true;
}

bool SAMSUNG_AT_FS::Disconnect()
{
    connected = false;
    return true;
}

bool SAMSUNG_AT_FS::ReadOk()
{
    return socket->ReadReply(0) > 0 && socket->result.Equals("OK");
}

bool SAMSUNG_AT_FS::WriteNamed(const char* command, const GString& name, const char* end)
{
    if (!ToWireName(name, wideName, byteName))
        return false;
    GString text(command);
    text.AppendChar('"');
    text.Append(byteName);
    text.AppendChar('"');
    text.Append(end);
    socket->Write(text.CStr(), static_cast<int32_t>(text.Length()));
    return true;
}

bool SAMSUNG_AT_FS::WaitForMarker(const char* marker)
{
    socket->reply.Assign("");
    socket->result.Assign("");
    std::string page;
    std::string line;
    bool found = false;
    for (;;) {
        const LineStatus status = ReadAtLine(*socket, line);
        if (status == LineStatus::Silent)
            break;
        if (status == LineStatus::TooLong || page.size() + line.size() > kMaxPageBytes) {
            DrainInput();
            break;
        }
        if (line.find(marker) != std::string::npos) {
            page += line;
            found = true;
            break;
        }
        if (line == "OK" || line.find("ERROR") != std::string::npos) {
            socket->result.Assign(line.data(), static_cast<uint32_t>(line.size()));
            break;
        }
        page += line;
    }
    socket->reply.Assign(page.data(), static_cast<uint32_t>(page.size()));
    return found;
}

bool SAMSUNG_AT_FS::ReadFolder(WaitProgress* wait)
{
    progressWindow = wait;
    entries.DeleteAll();
    if (socket == nullptr)
        return false;

    // Some phones do not answer this one; one that refuses it lists nothing.
    socket->Write("AT+FSIF=0\r\n", 0);
    if (socket->ReadReply(0) > 0 && !socket->result.Equals("OK"))
        return true;

    // The phone lists the folder it reached through "AT+FSCD"; "/" names that folder. An
    // answer without its final result means the phone fell silent or the line was cut.
    socket->Write("AT+FSDI=\"/\"\r", 0);
    if (socket->ReadReply(Socket::kJoinLines) == 0 || socket->result.IsEmpty())
        return false;
    if (socket->result.Find("+CME ERROR") != 0)
        return true;
    ParseFolders(std::string_view(socket->reply.CStr(), socket->reply.Length()));

    socket->Write("AT+FSDL=\"/\"\r", 0);
    if (wait != nullptr) {
        wait->SetRange(0, 10);
        wait->Step();
    }
    std::string listing;
    while (WaitForMarker(kPageMarker)) {
        if (listing.size() + socket->reply.Length() > kMaxListingBytes) {
            DrainInput();
            return false;
        }
        listing.append(socket->reply.CStr(), socket->reply.Length());
        socket->Write(kNext, 0);
        if (wait != nullptr)
            wait->Step();
    }
    // The listing ends with the phone's final result; anything else cut it short.
    if (socket->result.IsEmpty()) {
        entries.DeleteAll();
        return false;
    }
    if (!listing.empty())
        ParseFiles(listing);
    return true;
}

void SAMSUNG_AT_FS::ParseFolders(std::string_view text)
{
    for (std::string_view record : SplitRecords(text, "+FSDI:")) {
        if (!tokenizer.Split(FromView(record)))
            continue;
        GString name;
        if (!NameFromWire(tokenizer.Token(2), name))
            continue;
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFolder;
        entry->name = name;
        entries.Append(entry);
    }
}

void SAMSUNG_AT_FS::ParseFiles(std::string_view text)
{
    for (std::string_view record : SplitRecords(text, "+FSDL:")) {
        if (!tokenizer.Split(FromView(record)))
            continue;
        GString name;
        if (!NameFromWire(tokenizer.Token(2), name))
            continue;
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFile;
        entry->name = name;
        entry->SetExtensionFromName();
        SetGroupedSize(*entry, tokenizer.Token(7));
        ParseFileSystemTime(tokenizer.Token(9), entry->time);
        entries.Append(entry);
    }
}

bool SAMSUNG_AT_FS::ChangeFolder(const GString& path)
{
    if (socket == nullptr)
        return false;
    const bool toRoot = path.Equals("\\");
    std::vector<GString> parts;
    if (!toRoot) {
        parts = SplitPath(path);
        for (const GString& part : parts) {
            if (!ToWireName(part, wideName, byteName))
                return false;
        }
    }

    socket->Write("AT+FSIF\r", 0);
    socket->ReadReply(0);

    if (toRoot) {
        socket->Write("/\r", 0);
        if (!ReadOk())
            return false;
        pathParts.DeleteAll();
        return true;
    }
    // pathParts follows each level the phone confirmed, so a refusal half-way leaves it
    // naming the folder the phone is really in.
    for (const GString& part : parts) {
        WriteNamed("AT+FSCD=", part, "\r");
        if (!ReadOk())
            return false;
        if (part.Equals("..")) {
            if (pathParts.Count() > 0) {
                GString* last = pathParts.Get(pathParts.Count() - 1);
                pathParts.Remove(last);
                delete last;
            }
        } else {
            pathParts.Append(new GString(part));
        }
    }
    return true;
}

bool SAMSUNG_AT_FS::DeleteObject(const GString& name)
{
    if (socket == nullptr || !WriteNamed("AT+FSFE=-1,", name, "\r\n"))
        return false;
    return ReadOk();
}

bool SAMSUNG_AT_FS::ReadHeaderField(std::string& field)
{
    field.clear();
    for (;;) {
        char byte = 0;
        if (socket->Read(&byte, 1) <= 0)
            return false;
        if (byte == ',')
            return true;
        if (field.size() >= kMaxHeaderNoise) {
            DrainInput();
            return false;
        }
        field.push_back(byte);
    }
}

bool SAMSUNG_AT_FS::ReadBlock(std::vector<uint8_t>& block, uint32_t limit)
{
    std::string seen;
    for (;;) {
        char byte = 0;
        if (socket->Read(&byte, 1) <= 0)
            return false;
        seen.push_back(byte);
        if (seen.size() >= kBlockMarkerLength &&
            seen.compare(seen.size() - kBlockMarkerLength, kBlockMarkerLength, kBlockMarker) == 0)
            break;
        if (seen.size() >= kMaxHeaderNoise + kBlockMarkerLength) {
            DrainInput();
            return false;
        }
    }
    std::string field;
    if (!ReadHeaderField(field))
        return false;
    blockLength = 0;
    if (!GString(field.data(), static_cast<uint32_t>(field.size())).ParseValue(&blockLength, 'S') ||
        blockLength == 0 || blockLength > limit) {
        DrainInput();
        return false;
    }
    if (!ReadHeaderField(field))  // a block number we have no use for
        return false;
    block.resize(blockLength);
    uint32_t got = 0;
    while (got < blockLength) {
        const int32_t n = socket->Read(block.data() + got, static_cast<int32_t>(blockLength - got));
        if (n <= 0)
            return false;
        got += static_cast<uint32_t>(n);
    }
    return true;
}

bool SAMSUNG_AT_FS::ReadClosing()
{
    // Normally "#OK#", our "##>", then "OK"; phones differ, and by now nothing is missing.
    const bool marker = WaitForMarker(kPageMarker);
    if (socket->reply.Find(kBlockMarker) != 0)
        return false;
    if (!marker)
        return true;
    socket->Write(kNext, 0);
    socket->ReadReply(Socket::kJoinLines);
    return socket->reply.Find(kBlockMarker) == 0 && socket->line.Find(kBlockMarker) == 0;
}

bool SAMSUNG_AT_FS::GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress)
{
    if (socket == nullptr || entry == nullptr)
        return false;
    if (progress != nullptr && progress->IsCancelled())
        return false;
    const uint32_t size = entry->size;
    if (!sink.Reserve(size))
        return false;
    if (!WriteNamed("AT+FSFR=-1,", entry->name, "\r\n") || !WaitForMarker(kPageMarker))
        return false;
    socket->Write(kNext, 0);

    std::vector<uint8_t> block;
    uint32_t received = 0;
    while (received < size) {
        if (progress != nullptr && progress->IsCancelled()) {
            DrainInput();
            return false;
        }
        if (!ReadBlock(block, size - received))
            return false;
        if (!sink.Write(block.data(), blockLength)) {
            DrainInput();
            return false;
        }
        received += blockLength;
        if (progress != nullptr) {
            progress->AddTransferred(blockLength);
            progress->PumpMessages();
        }
        if (received == size)
            break;
        if (!WaitForMarker(kPageMarker))
            return false;
        socket->Write(kNext, 0);
    }
    return ReadClosing();
}

bool SAMSUNG_AT_FS::PutFile(FileInformation*, OperationProgress*)
{
    return false;
}

bool SAMSUNG_AT_FS::CanCreateFolder()
{
    return false;
}

bool SAMSUNG_AT_FS::CanRename()
{
    return false;
}

bool SAMSUNG_AT_FS::CanCopyToDevice()
{
    return false;
}
