// What a phone says while it is identified: the same bytes as the answers to the AT
// identity questions and as a device-information object. Every value kept is bounded, a
// single line, and (from the object) without surrounding spaces.
#include <cstdlib>
#include <cstring>

#include "devices/Identification.h"
#include "devices/TIrDAPort.h"
#include "transport/Socket.h"

namespace {

// A line that delivers the fuzz input, then silence.
class InputSocket : public Socket {
public:
    InputSocket(TComm* port, const uint8_t* data, size_t size) : Socket(port, 0), data(data), size(size) {}
    bool Open() override { return true; }
    bool Close() override { return true; }
    bool IsOpen() override { return true; }
    int32_t Read(void* buffer, int32_t count) override
    {
        size_t n = count < 0 ? 0 : static_cast<size_t>(count);
        if (n > size - at)
            n = size - at;
        std::memcpy(buffer, data + at, n);
        at += n;
        return static_cast<int32_t>(n);
    }
    int32_t Write(const void* bytes, int32_t count) override { return WriteLength(bytes, count); }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

void CheckValues(const TComm& port, bool trimmed)
{
    for (const GString& value : port.info) {
        if (value.Length() > kMaxInfoValueBytes)
            std::abort();
        const char* text = value.CStr();
        for (uint32_t i = 0; i < value.Length(); ++i) {
            if (text[i] == '\r' || text[i] == '\n')
                std::abort();
        }
        if (trimmed && value.Length() > 0 && (text[0] == ' ' || text[value.Length() - 1] == ' '))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        TIrDAPort port;
        port.AddSocket(new InputSocket(&port, data, size));
        IdentifyByAt(port);
        CheckValues(port, false);
    }
    {
        TIrDAPort port;
        ParseDeviceInfo(port, GString(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size)));
        CheckValues(port, true);
    }
    return 0;
}
