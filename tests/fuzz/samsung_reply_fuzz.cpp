// The Samsung AT file system and media store fed a phone that answers with arbitrary bytes.
// The first input byte picks the operation, the next two size the file to read; the rest is
// everything the phone ever sends. Whatever arrives, nothing may read or write out of bounds,
// loop for ever, or report a file read that is neither complete nor nothing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "obex/FTP.h"
#include "samsung/SAMSUNG_AT_FS.h"
#include "samsung/SAMSUNG_AT_FTP.h"
#include "FuzzPhoneSocket.h"

namespace {

class FuzzSocket : public FuzzPhoneSocket {
public:
    FuzzSocket(const uint8_t* data, size_t size) : FuzzPhoneSocket(data, size, 0, 61) {}
    int32_t Write(const void* bytes, int32_t count) override
    {
        const int32_t length = WriteLength(bytes, count);
        if (length <= 0 || length > 70000)
            std::abort();  // commands are short; upload blocks are at most 65535 bytes
        return length;
    }
};

class Progress : public OperationProgress {
public:
    bool IsCancelled() override { return false; }
    void SetFileSize(uint32_t) override {}
    void AddTransferred(uint32_t bytes) override { transferred += bytes; }
    void PumpMessages() override {}
    uint64_t transferred = 0;
};

const char* UploadFile()
{
    static std::string path;
    if (path.empty()) {
        path = "/tmp/qv_samsung_fuzz_upload.mid";
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::vector<char> content(3000, 'x');
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
    }
    return path.c_str();
}

void CheckEntries(const FTP& ftp)
{
    for (uint32_t i = 0; i < ftp.entries.Count(); ++i) {
        const FolderObject* e = ftp.entries.Get(i);
        if ((e->type != FolderObject::kFile && e->type != FolderObject::kFolder) || e->name.IsEmpty())
            std::abort();
    }
}

void FileSystem(uint8_t op, uint32_t fileSize, FuzzSocket& socket)
{
    SAMSUNG_AT_FS fs;
    fs.Connect(&socket, nullptr, 0);
    switch (op) {
    case 0:
        fs.ReadFolder(nullptr);
        CheckEntries(fs);
        break;
    case 1: {
        FolderObject entry;
        entry.name = "dir\\file.bin";
        entry.size = fileSize;
        MemoryFileSink sink;
        Progress progress;
        const bool whole = fs.GetFile(&entry, sink, &progress);
        if ((whole && sink.Size() != fileSize) || sink.Size() > fileSize ||
            progress.transferred != sink.Size())
            std::abort();
        break;
    }
    default:
        fs.ChangeFolder("a/b\\..//c");
        fs.DeleteObject("c.txt");
        fs.ChangeFolder("\\");
        if (fs.pathParts.Count() > 3)
            std::abort();
        break;
    }
}

void MediaStore(uint8_t op, FuzzSocket& socket)
{
    SAMSUNG_AT_FTP media;
    media.Connect(&socket, nullptr, 0);
    const char* folders[] = {nullptr, SAMSUNG_AT_FTP::kSounds, SAMSUNG_AT_FTP::kPictures,
                             SAMSUNG_AT_FTP::kPhotos};
    const char* folder = folders[op % 4];
    if (folder != nullptr)
        media.ChangeFolder(folder);
    media.ReadFolder(nullptr);
    CheckEntries(media);
    if (op >= 4 && folder != nullptr) {
        FileInformation file;
        file.path = UploadFile();
        file.findData.sizeLow = 3000;
        media.maxFileSize = 200000;
        Progress progress;
        media.PutFile(&file, &progress);
        if (progress.transferred > 3000)
            std::abort();
    } else if (media.entries.Count() > 0) {
        media.DeleteObject(media.entries.Get(0)->name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t op = data[0] % 11;
    const uint32_t fileSize = (static_cast<uint32_t>(data[1]) << 8 | data[2]) % 5000;
    FuzzSocket socket(data + 3, size - 3);
    if (op < 3)
        FileSystem(op, fileSize, socket);
    else
        MediaStore(static_cast<uint8_t>(op - 3), socket);
    return 0;
}
