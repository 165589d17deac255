// The OBEX response reader and the header walk of the GET loops, fed a phone that answers
// with arbitrary bytes. The first input byte picks the operation, the second sizes the
// receiving buffer; the rest is everything the phone ever sends.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "obex/OBEX_FTP.h"
#include "transport/Socket.h"

namespace {

class FuzzSocket : public Socket {
public:
    FuzzSocket(const uint8_t* data, size_t size) : Socket(nullptr, 1), data(data), size(size) {}
    ~FuzzSocket() override { Close(); }
    bool Open() override { return true; }
    bool Close() override { return true; }
    bool IsOpen() override { return true; }
    int32_t Read(void* buffer, int32_t count) override
    {
        // Chunks of varying size: a phone's answer rarely arrives in one piece.
        size_t n = size - at;
        if (n > static_cast<size_t>(count))
            n = static_cast<size_t>(count);
        if (n > 1 + (at % 97))
            n = 1 + (at % 97);
        std::memcpy(buffer, data + at, n);
        at += n;
        return static_cast<int32_t>(n);
    }
    int32_t Write(const void*, int32_t count) override
    {
        if (count <= 0 || count > 32768)
            std::abort();  // every request fits the buffer it was built in
        return count;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t op = data[0];
    const uint32_t bufferSize = data[1] * 61u;
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
        FolderObject entry;
        entry.name = "file.bin";
        entry.size = bufferSize;
        std::vector<uint8_t> buffer(bufferSize);
        if (obex->GetFile(&entry, buffer.data(), bufferSize, nullptr) > bufferSize)
            std::abort();
        break;
    }
    case 2: {
        GString out;
        if (obex->GetObject("telecom/devinfo.txt", out) != out.Length())
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
