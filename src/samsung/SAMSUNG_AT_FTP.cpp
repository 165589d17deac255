#include "samsung/SAMSUNG_AT_FTP.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/MessageReporter.h"
#include "samsung/AtLine.h"
#include "samsung/Crc32.h"
#include "samsung/SamsungRecords.h"
#include "samsung/WireName.h"
#include "transport/Socket.h"

const char* const SAMSUNG_AT_FTP::kPictures = "Изображения";
const char* const SAMSUNG_AT_FTP::kSounds = "Звуки";
const char* const SAMSUNG_AT_FTP::kPhotos = "Фотографии";

struct SamsungMediaCommands {
    const char* capacity;
    const char* capacityPrefix;  // null: the first reply is taken as it is
    const char* writeInfo;
    const char* writePrefix;
    const char* record;          // then the 1-based record number and "\r"
    const char* writeCommand;    // uploads ("0,...") and deletions (index) start with it
    const char* defaultExtension;
};

namespace {

const SamsungMediaCommands kSoundCommands{"AT+MELR?\r", nullptr, "AT+MELW?\r", "+MELW:",
                                          "AT+MELR=", "AT+MELW=", ".mmf"};
const SamsungMediaCommands kPictureCommands{"AT+IMGR?\r", "+IMGR:", "AT+IMGW?\r", "+IMGW",
                                            "AT+IMGR=", "AT+IMGW=", ".jpg"};

bool HasError(const GString& text)
{
    return text.Find("ERROR") != 0;
}

// The file name of a local path without its folder, split at its last '.'.
void SplitFileName(const GString& path, GString& stem, GString& extension)
{
    const char* p = path.CStr();
    uint32_t start = 0;
    for (uint32_t i = 0; i < path.Length(); ++i) {
        if (p[i] == '\\' || p[i] == '/')
            start = i + 1;
    }
    uint32_t dot = path.Length();
    for (uint32_t i = start; i < path.Length(); ++i) {
        if (p[i] == '.')
            dot = i;
    }
    stem.Assign(p + start, dot - start);
    extension.Assign(p + dot, path.Length() - dot);
}

// Reads the whole of an open file; false when it ends early.
bool ReadWhole(FileAccess& file, uint8_t* data, uint32_t size)
{
    uint32_t done = 0;
    while (done < size) {
        const uint32_t n = file.Read(data + done, size - done);
        if (n == 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

bool SAMSUNG_AT_FTP::Connect(Socket* s, const uint8_t*, uint32_t)
{
    socket = s;
    blockSize = kDefaultBlockSize;
    connected = socket != nullptr;
    return connected;
}

bool SAMSUNG_AT_FTP::Disconnect()
{
    connected = false;
    return true;
}

bool SAMSUNG_AT_FTP::InFolder(const char* name) const
{
    return pathParts.Count() > 0 && pathParts.Get(pathParts.Count() - 1)->Equals(name);
}

const SamsungMediaCommands* SAMSUNG_AT_FTP::CurrentMedia() const
{
    if (InFolder(kSounds))
        return &kSoundCommands;
    if (InFolder(kPictures))
        return &kPictureCommands;
    return nullptr;
}

void SAMSUNG_AT_FTP::AddFolder(const char* name)
{
    auto* entry = new FolderObject;
    entry->type = FolderObject::kFolder;
    entry->name = name;
    entries.Append(entry);
}

bool SAMSUNG_AT_FTP::ReadFolder(WaitProgress* wait)
{
    progressWindow = wait;
    entries.DeleteAll();
    if (socket == nullptr)
        return true;
    if (pathParts.Count() == 0) {
        AddFolder(kPictures);
        AddFolder(kSounds);
        if (QueryPhotos())
            AddFolder(kPhotos);
        return true;
    }
    if (const SamsungMediaCommands* media = CurrentMedia())
        ListMedia(*media);
    else if (InFolder(kPhotos))
        ListPhotos();
    return true;
}

bool SAMSUNG_AT_FTP::QueryWithPrefix(const char* command, const char* prefix)
{
    socket->Write(command, 0);
    if (socket->ReadReply(0) == 0 || HasError(socket->result))
        return false;
    if (prefix != nullptr && socket->reply.Find(prefix) == 0) {
        if (socket->ReadReply(0) == 0 || HasError(socket->result) ||
            socket->reply.Find(prefix) == 0)
            return false;
    }
    return !socket->reply.IsEmpty();
}

void SAMSUNG_AT_FTP::ListMedia(const SamsungMediaCommands& media)
{
    if (!QueryWithPrefix(media.capacity, media.capacityPrefix))
        return;
    // Count, limit, used and total bytes.
    tokenizer.Split(TextAfter(socket->reply, "R:"));
    listCount = FieldL(tokenizer.Token(1));
    listLimit = FieldL(tokenizer.Token(2));
    const uint32_t used = FieldL(tokenizer.Token(3));
    const uint32_t total = FieldL(tokenizer.Token(4));
    if (used != 0 && total != 0) {
        // Some phones give the two the other way round: the total is the larger.
        memoryTotal = total < used ? used : total;
        memoryFree = total < used ? total : total - used;
    } else {
        memoryTotal = total;
        memoryFree = used;
    }

    if (!QueryWithPrefix(media.writeInfo, media.writePrefix))
        return;
    tokenizer.Split(socket->reply);
    maxFileSize = FieldL(tokenizer.Token(2));
    if (maxFileSize == 0)
        maxFileSize = kDefaultMaxFileSize;
    const GString& block = tokenizer.Token(5);
    blockSize = FieldS(block.CStr(), block.Length());
    if (blockSize == 0)
        blockSize = kDefaultBlockSize;

    if (progressWindow != nullptr)
        progressWindow->SetRange(0, listCount);
    for (uint32_t i = 0; i < listLimit && i < listCount && entries.Count() < kMaxEntries; ++i) {
        if (progressWindow != nullptr)
            progressWindow->Step();
        GString command(media.record);
        command.Append(i + 1);
        command.Append("\r");
        socket->Write(command.CStr(), 0);
        if (socket->ReadReply(Socket::kStopAtResult) == 0)
            return;
        if (HasError(socket->result) || socket->reply.IsEmpty())
            continue;
        // Index, name, size; the phone keeps no date.
        if (!tokenizer.Split(TextAfter(socket->reply, "R:")))
            continue;
        GString name;
        if (!NameFromWire(tokenizer.Token(2), name))
            continue;
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFile;
        entry->mediaIndex = FieldL(tokenizer.Token(1));
        entry->name = name;
        entry->sizeText = tokenizer.Token(3);
        entry->size = FieldL(entry->sizeText);
        entry->time = LocalTimeNow();
        entry->SetExtensionFromName();
        if (entry->extension.IsEmpty()) {
            entry->name.Append(media.defaultExtension);
            entry->SetExtensionFromName();
        }
        entries.Append(entry);
    }
}

bool SAMSUNG_AT_FTP::QueryPhotos()
{
    socket->Write("AT+UPLL?\r", 0);
    return socket->ReadReply(0) > 0 && socket->result.Equals("OK") &&
           socket->reply.Find("+UPLL:") != 0;
}

void SAMSUNG_AT_FTP::ListPhotos()
{
    if (!QueryPhotos())
        return;
    tokenizer.Split(TextAfter(socket->reply, "L:"));
    listLimit = FieldL(tokenizer.Token(1));
    listCount = FieldL(tokenizer.Token(2));
    if (progressWindow != nullptr)
        progressWindow->SetRange(0, listCount);

    socket->Write("AT+UPLL\r", 0);
    socket->reply.Assign("");
    socket->result.Assign("");
    std::string line;
    while (entries.Count() < kMaxEntries && ReadAtLine(*socket, line) == LineStatus::Line) {
        if (line == "OK" || line.find("ERROR") != std::string::npos) {
            socket->result.Assign(line.data(), static_cast<uint32_t>(line.size()));
            return;
        }
        if (line.find("+UPLL:") == std::string::npos)
            continue;
        if (progressWindow != nullptr)
            progressWindow->Step();
        // Index, date, name, size.
        if (!tokenizer.Split(TextAfter(GString(line.data(), static_cast<uint32_t>(line.size())), "L:")))
            continue;
        GString name;
        if (!NameFromWire(tokenizer.Token(3), name))
            continue;
        auto* entry = new FolderObject;
        entry->type = FolderObject::kFile;
        entry->mediaIndex = FieldL(tokenizer.Token(1));
        ParsePhotoTime(tokenizer.Token(2), entry->time);
        entry->name = name;
        entry->sizeText = tokenizer.Token(4);
        entry->size = FieldL(entry->sizeText);
        entry->SetExtensionFromName();
        if (entry->extension.IsEmpty()) {
            entry->name.Append(".jpg");
            entry->SetExtensionFromName();
        }
        entries.Append(entry);
    }
}

bool SAMSUNG_AT_FTP::ChangeFolder(const GString& path)
{
    if (path.IsEmpty() || path.Equals("..") || path.Equals("\\")) {
        pathParts.DeleteAll();
        memoryFree = 0;
        memoryTotal = 0;
        return true;
    }
    for (const char* folder : {kSounds, kPictures, kPhotos}) {
        if (path.Find(folder) != 0) {
            // There is one level only: entering a folder replaces the one we were in.
            pathParts.DeleteAll();
            pathParts.Append(new GString(folder));
            return true;
        }
    }
    return false;
}

bool SAMSUNG_AT_FTP::WaitForChar(char c, const GString* command)
{
    socket->reply.Assign("");
    socket->result.Assign("");
    // The echo: the command without its line end.
    std::string_view echo;
    if (command != nullptr) {
        echo = std::string_view(command->CStr(), command->Length());
        while (!echo.empty() && (echo.back() == '\r' || echo.back() == '\n'))
            echo.remove_suffix(1);
    }
    // Lines are gathered without being cut apart, as the phone's verdict may follow its echo.
    std::string text;
    size_t lineStart = 0;
    for (;;) {
        char byte = 0;
        if (socket->Read(&byte, 1) <= 0)
            return false;
        if (byte == c)
            return true;
        if (byte == '\n') {
            // The echo of a name such as "TERROR" is no error, nor "BOOK" an "OK".
            if (!echo.empty() && std::string_view(text).substr(lineStart) == echo) {
                text.resize(lineStart);
                continue;
            }
            lineStart = text.size();
            const bool error = text.find("ERROR") != std::string::npos ||
                               text.find("CRCERR") != std::string::npos;
            if (error || text.find("OK") != std::string::npos) {
                socket->reply.Assign(text.data(), static_cast<uint32_t>(text.size()));
                socket->result.Assign(error ? "ERROR" : "OK");
                return !error;
            }
        } else if (byte != '\r') {
            if (text.size() >= kMaxAtLineBytes)
                return false;
            text.push_back(byte);
        }
    }
}

bool SAMSUNG_AT_FTP::SendContent(const uint8_t* data, uint32_t size, OperationProgress* progress)
{
    // Each full block is answered with '>' (or, for the last one, with the verdict); the
    // remainder is followed by the verdict alone.
    bool verdictOk = socket->result.Equals("OK");
    uint32_t sent = 0;
    while (size - sent >= blockSize) {
        socket->Write(data + sent, blockSize);
        sent += blockSize;
        if (progress != nullptr) {
            progress->AddTransferred(blockSize);
            progress->PumpMessages();
        }
        if (!WaitForChar('>'))
            return false;
        verdictOk = socket->result.Equals("OK");
        if (verdictOk && sent < size)
            return false;  // the phone closed the upload before it had everything
    }
    if (sent < size) {
        socket->Write(data + sent, static_cast<int32_t>(size - sent));
        if (progress != nullptr)
            progress->AddTransferred(size - sent);
        verdictOk = false;
    }
    return verdictOk || WaitForVerdict();
}

bool SAMSUNG_AT_FTP::WaitForVerdict()
{
    for (int i = 0; i < kMaxClosingPrompts; ++i) {
        if (!WaitForChar('>'))
            return false;
        if (socket->result.Equals("OK"))
            return true;
    }
    return false;
}

bool SAMSUNG_AT_FTP::PutFile(FileInformation* file, OperationProgress* progress)
{
    if (socket == nullptr || file == nullptr)
        return false;
    const uint32_t size = file->findData.sizeLow;
    if (file->findData.sizeHigh != 0 || size > maxFileSize) {
        errorCode = kErrorFileTooLarge;
        return false;
    }
    if (size > kMaxUploadBytes)
        return false;
    GString stem;
    GString extension;
    SplitFileName(file->path.IsEmpty() ? GString(file->findData.fileName) : file->path, stem,
                  extension);
    if (!ToWireName(stem, wideName, byteName))
        return false;

    socket->Write("ATZ\r", 0);
    if (socket->ReadReply(0) == 0)
        return false;

    if (!localFile.Open(file->path.CStr(), FileAccess::kGenericRead,
                        FileAccess::kShareRead | FileAccess::kShareWrite,
                        FileAccess::kOpenExisting)) {
        Reporter().Report(MessageKind::SystemError, 0);
        return false;
    }
    if (progress != nullptr)
        progress->SetFileSize(size);
    std::vector<uint8_t> content(size);
    // A file that changed since it was chosen would go out under a size the phone checks.
    const bool complete = localFile.Size64() == size && ReadWhole(localFile, content.data(), size);
    localFile.Close();
    if (!complete)
        return false;

    extension.ToUpper();
    const uint32_t crc = Crc32(content.data(), size);
    GString command;
    if (InFolder(kSounds)) {
        command.Format("AT+MELW=0,\"%s\",4,%u,%u\r", byteName, size, crc);
    } else if (InFolder(kPictures)) {
        const int type = extension.Find("GIF") != 0 ? 2 : 11;
        command.Format("AT+IMGW=0,\"%s\",%d,0,0,0,0,100,%u,%u\r", byteName, type, size, crc);
    } else {
        return false;
    }
    socket->Write(command.CStr(), 0);
    if (!WaitForChar('>', &command))
        return false;
    return SendContent(content.data(), size, progress);
}

bool SAMSUNG_AT_FTP::DeleteObject(const GString& name)
{
    if (socket == nullptr)
        return false;
    FolderObject* target = nullptr;
    ListIterator<FolderObject> it(entries);
    for (it.First(); !it.IsDone() && target == nullptr; it.Next()) {
        FolderObject* entry = it.CurrentItem();
        if (entry->type == FolderObject::kFile && entry->name.Equals(name))
            target = entry;
    }
    const SamsungMediaCommands* media = CurrentMedia();
    if (target == nullptr || target->mediaIndex == 0 || media == nullptr)
        return false;

    socket->Write("ATZ\r", 0);
    if (socket->ReadReply(0) == 0)
        return false;
    GString command(media->writeCommand);
    command.Append(target->mediaIndex);
    command.Append(",\"Del\",5,1,1,1,16,100,0,0\r");
    socket->Write(command.CStr(), 0);
    bool ok = WaitForChar('>');
    if (ok) {
        // The phone echoes the '>' once its echo is back on after ATZ: only its "OK" counts.
        socket->Write(">\r", 0);
        ok = WaitForVerdict();
    }
    if (socket->reply.Find("CRCERR") != 0)
        socket->Purge();
    return ok;
}

bool SAMSUNG_AT_FTP::CanCopyFromDevice()
{
    return false;
}

bool SAMSUNG_AT_FTP::CanCreateFolder()
{
    return false;
}

bool SAMSUNG_AT_FTP::CanRename()
{
    return false;
}
