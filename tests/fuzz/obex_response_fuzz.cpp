// The OBEX response reader and the header walk of the GET loops, fed a phone that answers
// with arbitrary bytes. The first input byte picks the operation, the second sets the listed
// size of the file read; the rest is everything the phone ever sends.
#include <cstdlib>
#include <cstring>

#include "obex/OBEX_FTP.h"
#include "FuzzPhoneSocket.h"

namespace {

class FuzzSocket : public FuzzPhoneSocket {
public:
    FuzzSocket(const uint8_t* data, size_t size) : FuzzPhoneSocket(data, size, 1, 97) {}
    int32_t Write(const void*, int32_t count) override
    {
        if (count <= 0 || count > 32768)
            std::abort();  // every request fits the buffer it was built in
        return count;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t op = data[0];
    const uint32_t listedSize = data[1] * 61u;
    FuzzSocket socket(data + 2, size - 2);
    static OBEX_FTP* obex = new OBEX_FTP;
    obex->connected = true;
    obex->socket = &socket;
    obex->peerMaxPacket = 255;
    obex->pathParts.DeleteAll();

    switch (op % 6) {
    case 0:
        obex->ReadFolder(nullptr);
        break;
    case 1: {
        // A listed size, or none (0). Every byte the sink took was reported, and no more.
        FolderObject entry;
        entry.name = "file.bin";
        entry.size = listedSize;
        MemoryFileSink sink(1u << 20);
        Progress progress;
        obex->GetFile(&entry, sink, &progress);
        if (progress.transferred != sink.Size())
            std::abort();
        break;
    }
    case 2: {
        GString out;
        if (obex->GetNamedObject("telecom/devinfo.txt", out) != out.Length())
            std::abort();
        break;
    }
    case 3:
        obex->pathParts.Append(new GString("Data"));
        obex->QueryMemory(1 + (op >> 7));
        break;
    case 4:
        obex->connected = false;
        obex->Connect(&socket, reinterpret_cast<const uint8_t*>("IRMC-SYNC"), 9);
        if (obex->connected && (obex->peerMaxPacket < 255 || obex->peerMaxPacket > 32768))
            std::abort();
        break;
    default:
        obex->pathParts.Append(new GString("a"));
        obex->pathParts.Append(new GString("b"));
        obex->ChangeFolder("..");
        obex->CreateFolder("new");
        obex->RenameObject("a", "b");
        break;
    }
    if (obex->responseLength > OBEX_FTP::kBufferSize)
        std::abort();
    obex->socket = nullptr;
    return 0;
}
