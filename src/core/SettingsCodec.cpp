#include "core/SettingsCodec.h"

#include "core/CodePage.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr uint16_t kTagBlock = 1;
constexpr uint16_t kTagExcludedPorts = 10;
constexpr uint16_t kTagSerialPorts = 11;
constexpr uint16_t kTagDevices = 13;
constexpr uint32_t kBlockSize = 44;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data(data), size(data != nullptr ? size : 0) {}

    size_t Remaining() const { return size - pos; }
    bool AtEnd() const { return pos == size; }

    bool Bytes(void* out, size_t n)
    {
        if (n > Remaining())
            return false;
        if (n > 0)
            std::memcpy(out, data + pos, n);
        pos += n;
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U16(uint16_t& v)
    {
        uint8_t b[2];
        if (!Bytes(b, 2))
            return false;
        v = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool U32(uint32_t& v)
    {
        uint8_t b[4];
        if (!Bytes(b, 4))
            return false;
        v = LittleU32(b);
        return true;
    }
    bool U64(uint64_t& v)
    {
        uint32_t lo;
        uint32_t hi;
        if (!U32(lo) || !U32(hi))
            return false;
        v = static_cast<uint64_t>(hi) << 32 | lo;
        return true;
    }
    // A counted UTF-16LE string. n = 0, or n units beyond the data, fail. The last unit is
    // taken as the terminator whatever it holds, and the text ends at the first NUL.
    bool String(GString& out)
    {
        uint32_t n;
        if (!U32(n) || n == 0 || n > Remaining() / 2)
            return false;
        std::u16string units(n - 1, u'\0');
        for (uint32_t i = 0; i + 1 < n; ++i) {
            const uint8_t* p = data + pos + 2 * static_cast<size_t>(i);
            units[i] = static_cast<char16_t>(p[0] | p[1] << 8);
        }
        pos += 2 * static_cast<size_t>(n);
        const size_t nul = units.find(u'\0');
        if (nul != std::u16string::npos)
            units.resize(nul);
        const std::string ansi = Utf16ToAnsi(units);
        out.Assign(ansi.data(), static_cast<uint32_t>(ansi.size()));
        return true;
    }

    static uint32_t LittleU32(const uint8_t* b)
    {
        return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
               static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

class Writer {
public:
    void U8(uint8_t v) { out.push_back(v); }
    void U16(uint16_t v)
    {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void U64(uint64_t v)
    {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void Bytes(const uint8_t* p, size_t n) { out.insert(out.end(), p, p + n); }
    void String(const GString& s)
    {
        const std::u16string units = AnsiToUtf16(std::string_view(s.CStr(), s.Length()));
        U32(static_cast<uint32_t>(units.size() + 1));
        for (char16_t u : units)
            U16(static_cast<uint16_t>(u));
        U16(0);
    }

    std::vector<uint8_t> out;
};

// The window placement and the progress position are each taken whole or not at all; the
// single bytes one by one.
void ApplyBlock(const uint8_t* block, uint32_t size, SettingsValues& v)
{
    auto i32 = [block](uint32_t offset) {
        return static_cast<int32_t>(Reader::LittleU32(block + offset));
    };
    if (size < 20)
        return;
    v.windowX = i32(4);
    v.windowY = i32(8);
    v.windowWidth = i32(12);
    v.windowHeight = i32(16);
    if (size < 28)
        return;
    v.progressX = i32(20);
    v.progressY = i32(24);
    bool* const flags[] = {&v.showToolbar, &v.showControlPanel, &v.showStatusBar};
    uint32_t offset = 28;
    for (bool* flag : flags) {
        if (offset + 1 > size)
            return;
        *flag = block[offset++] != 0;
    }
    if (offset + 1 > size)
        return;
    v.reservedFlag = block[offset++];
    if (offset + 1 > size)
        return;
    const uint8_t style = block[offset];
    v.listViewStyle = style <= 3 ? style : 1;
}

bool ReadBlock(Reader& r, SettingsValues& values)
{
    uint32_t size;
    if (!r.U32(size) || size > r.Remaining())
        return false;
    std::vector<uint8_t> block(size);
    if (!r.Bytes(block.data(), size))
        return false;
    ApplyBlock(block.data(), size, values);
    return true;
}

bool ReadExcludedPorts(Reader& r, List<EXCLUDEPORTS>& list)
{
    uint32_t count;
    if (!r.U32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<EXCLUDEPORTS>();
        uint32_t kind;
        if (!r.U32(kind) || !r.String(record->name))
            return false;
        record->kind = static_cast<int32_t>(kind);
        list.Append(record.release());
    }
    return true;
}

bool ReadSerialPorts(Reader& r, List<EXT_LIST_SERIALPORTS>& list)
{
    uint16_t count;
    if (!r.U16(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<EXT_LIST_SERIALPORTS>();
        if (!r.String(record->name) || !r.U32(record->baudRate) || !r.U8(record->dtr) ||
            !r.U8(record->rts))
            return false;
        list.Append(record.release());
    }
    return true;
}

bool ReadDevice(Reader& r, LAST_SET_DEVICE& d)
{
    uint32_t favourites;
    if (!r.String(d.manufacturer) || !r.String(d.model) || !r.String(d.serialNumber) ||
        !r.U64(d.btAddress) || !r.Bytes(d.reserved, sizeof d.reserved) ||
        !r.U32(d.fileManagerShown) || !r.String(d.lastFolder) || !r.U32(d.reserved2) ||
        !r.U32(favourites))
        return false;
    for (uint32_t i = 0; i < favourites; ++i) {
        auto favourite = std::make_unique<LIST_FAVORITE>();
        if (!r.String(favourite->first) || !r.String(favourite->second))
            return false;
        d.favourites.Append(favourite.release());
    }
    return true;
}

bool ReadDevices(Reader& r, List<LAST_SET_DEVICE>& list)
{
    uint32_t count;
    if (!r.U32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<LAST_SET_DEVICE>();
        if (!ReadDevice(r, *record))
            return false;
        list.Append(record.release());
    }
    return true;
}

}  // namespace

bool DecodeSettings(const uint8_t* data, size_t size, SettingsStore& store)
{
    Reader r(data, size);
    bool* const scans[] = {&store.values.scanSerial, &store.values.scanIrDA,
                           &store.values.scanBluetooth};
    for (bool* scan : scans) {
        uint8_t b;
        if (!r.U8(b))
            return false;
        *scan = b != 0;
    }
    for (;;) {
        uint16_t tag;
        if (!r.U16(tag))
            return r.AtEnd();
        bool ok = true;
        switch (tag) {
        case kTagBlock: ok = ReadBlock(r, store.values); break;
        case kTagExcludedPorts: ok = ReadExcludedPorts(r, store.ExcludedPorts); break;
        case kTagSerialPorts: ok = ReadSerialPorts(r, store.SerialPortSettings); break;
        case kTagDevices: ok = ReadDevices(r, store.DeviceSettings); break;
        default: break;
        }
        if (!ok)
            return false;
    }
}

std::vector<uint8_t> EncodeSettings(const SettingsStore& store)
{
    const SettingsValues& v = store.values;
    Writer w;
    w.U8(v.scanSerial ? 1 : 0);
    w.U8(v.scanIrDA ? 1 : 0);
    w.U8(v.scanBluetooth ? 1 : 0);

    w.U16(kTagBlock);
    w.U32(kBlockSize);
    w.U32(0);
    for (int32_t x : {v.windowX, v.windowY, v.windowWidth, v.windowHeight, v.progressX,
                      v.progressY})
        w.U32(static_cast<uint32_t>(x));
    w.U8(v.showToolbar ? 1 : 0);
    w.U8(v.showControlPanel ? 1 : 0);
    w.U8(v.showStatusBar ? 1 : 0);
    w.U8(v.reservedFlag);
    w.U8(v.listViewStyle);
    for (int i = 0; i < 11; ++i)
        w.U8(0);

    if (store.ExcludedPorts.Count() > 0) {
        w.U16(kTagExcludedPorts);
        w.U32(store.ExcludedPorts.Count());
        ListIterator<EXCLUDEPORTS> it(store.ExcludedPorts);
        for (it.First(); !it.IsDone(); it.Next()) {
            w.U32(static_cast<uint32_t>(it.CurrentItem()->kind));
            w.String(it.CurrentItem()->name);
        }
    }

    w.U16(kTagSerialPorts);
    const uint32_t serialCount =
        store.SerialPortSettings.Count() < 0xFFFF ? store.SerialPortSettings.Count() : 0xFFFF;
    w.U16(static_cast<uint16_t>(serialCount));
    ListIterator<EXT_LIST_SERIALPORTS> serial(store.SerialPortSettings);
    serial.First();
    for (uint32_t i = 0; i < serialCount; ++i, serial.Next()) {
        const EXT_LIST_SERIALPORTS* record = serial.CurrentItem();
        w.String(record->name);
        w.U32(record->baudRate);
        w.U8(record->dtr);
        w.U8(record->rts);
    }

    if (store.DeviceSettings.Count() > 0) {
        w.U16(kTagDevices);
        w.U32(store.DeviceSettings.Count());
        ListIterator<LAST_SET_DEVICE> it(store.DeviceSettings);
        for (it.First(); !it.IsDone(); it.Next()) {
            const LAST_SET_DEVICE* d = it.CurrentItem();
            w.String(d->manufacturer);
            w.String(d->model);
            w.String(d->serialNumber);
            w.U64(d->btAddress);
            w.Bytes(d->reserved, sizeof d->reserved);
            w.U32(d->fileManagerShown);
            w.String(d->lastFolder);
            w.U32(d->reserved2);
            w.U32(d->favourites.Count());
            ListIterator<LIST_FAVORITE> fav(d->favourites);
            for (fav.First(); !fav.IsDone(); fav.Next()) {
                w.String(fav.CurrentItem()->first);
                w.String(fav.CurrentItem()->second);
            }
        }
    }
    return std::move(w.out);
}
