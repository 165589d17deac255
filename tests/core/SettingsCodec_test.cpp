#include "core/SettingsCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Builds file images by hand, independently of the encoder, and notes where records end.
struct Image {
    std::vector<uint8_t> bytes;

    Image& U8(uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    Image& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    Image& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Image& U64(uint64_t v) { return U32(static_cast<uint32_t>(v)).U32(static_cast<uint32_t>(v >> 32)); }
    Image& Zeros(int n)
    {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    // Counted UTF-16LE with terminator.
    Image& Str(const std::u16string& s)
    {
        U32(static_cast<uint32_t>(s.size() + 1));
        for (char16_t u : s)
            U16(u);
        return U16(0);
    }
    Image& Scan(uint8_t a, uint8_t b, uint8_t c) { return U8(a).U8(b).U8(c); }
    Image& Block(int32_t x, int32_t y, int32_t w, int32_t h, int32_t px, int32_t py,
                 uint8_t toolbar, uint8_t panel, uint8_t status, uint8_t flag, uint8_t style)
    {
        U16(1).U32(44).U32(0);
        for (int32_t v : {x, y, w, h, px, py})
            U32(static_cast<uint32_t>(v));
        return U8(toolbar).U8(panel).U8(status).U8(flag).U8(style).Zeros(11);
    }
    size_t Size() const { return bytes.size(); }
};

bool Decode(const std::vector<uint8_t>& bytes, SettingsStore& store, size_t size = SIZE_MAX)
{
    return DecodeSettings(bytes.data(), size == SIZE_MAX ? bytes.size() : size, store);
}

std::string Text(const GString& s)
{
    return std::string(s.CStr(), s.Length());
}

void ExpectDefaults(const SettingsValues& v)
{
    const SettingsValues d;
    EXPECT_EQ(v.windowX, d.windowX);
    EXPECT_EQ(v.windowY, d.windowY);
    EXPECT_EQ(v.windowWidth, d.windowWidth);
    EXPECT_EQ(v.windowHeight, d.windowHeight);
    EXPECT_EQ(v.progressX, 10000);
    EXPECT_EQ(v.progressY, 0);
    EXPECT_TRUE(v.showToolbar && v.showControlPanel && v.showStatusBar);
    EXPECT_EQ(v.reservedFlag, 0);
    EXPECT_EQ(v.listViewStyle, 1);
}

TEST(SettingsCodec, DefaultContentIsExact)
{
    SettingsStore store;
    const std::vector<uint8_t> bytes = EncodeSettings(store);
    Image expected;
    expected.Scan(1, 1, 1).Block(0, 0, 0, 0, 10000, 0, 1, 1, 1, 0, 1).U16(11).U16(0);
    EXPECT_EQ(bytes.size(), 57u);
    EXPECT_EQ(bytes, expected.bytes);
}

// A store with every kind of record, non-default values and Cyrillic texts.
void Fill(SettingsStore& s)
{
    s.values.scanSerial = false;
    s.values.scanIrDA = true;
    s.values.scanBluetooth = false;
    s.values.windowX = -5;
    s.values.windowY = 20;
    s.values.windowWidth = 800;
    s.values.windowHeight = 600;
    s.values.progressX = 300;
    s.values.progressY = -40;
    s.values.showToolbar = false;
    s.values.showControlPanel = true;
    s.values.showStatusBar = false;
    s.values.reservedFlag = 0x5A;
    s.values.listViewStyle = 3;
    s.ExcludedPorts.Append(new EXCLUDEPORTS{0, GString("Последовательный порт (COM3)")});
    s.ExcludedPorts.Append(new EXCLUDEPORTS{2, GString("")});
    s.SerialPortSettings.Append(new EXT_LIST_SERIALPORTS{GString("COM1"), 115200, 1, 0});
    s.SerialPortSettings.Append(new EXT_LIST_SERIALPORTS{GString("Модем"), 9600, 0, 1});
    auto* d1 = new LAST_SET_DEVICE;
    d1->manufacturer = "SIEMENS";
    d1->model = "S65";
    d1->serialNumber = "3512";
    d1->fileManagerShown = 1;
    d1->lastFolder = "Data/Мои картинки";
    d1->reserved2 = 0xDEADBEEF;
    std::memcpy(d1->reserved, "\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    s.DeviceSettings.Append(d1);
    auto* d2 = new LAST_SET_DEVICE;
    d2->manufacturer = "Nokia";
    d2->btAddress = 0x0000112233445566ull;
    d2->favourites.Append(new LIST_FAVORITE{GString("Фото"), GString("C:/Фото")});
    d2->favourites.Append(new LIST_FAVORITE{GString(""), GString("x")});
    s.DeviceSettings.Append(d2);
}

// The image of Fill's store, with the offsets at which each item is complete.
struct FullImage {
    Image image;
    size_t blockEnd = 0;
    std::vector<size_t> excludedEnds, serialEnds, deviceEnds;
};

FullImage BuildFull()
{
    FullImage f;
    Image& i = f.image;
    i.Scan(0, 1, 0).Block(-5, 20, 800, 600, 300, -40, 0, 1, 0, 0x5A, 3);
    f.blockEnd = i.Size();
    i.U16(10).U32(2);
    i.U32(0).Str(u"Последовательный порт (COM3)");
    f.excludedEnds.push_back(i.Size());
    i.U32(2).Str(u"");
    f.excludedEnds.push_back(i.Size());
    i.U16(11).U16(2);
    i.Str(u"COM1").U32(115200).U8(1).U8(0);
    f.serialEnds.push_back(i.Size());
    i.Str(u"Модем").U32(9600).U8(0).U8(1);
    f.serialEnds.push_back(i.Size());
    i.U16(13).U32(2);
    i.Str(u"SIEMENS").Str(u"S65").Str(u"3512").U64(0);
    for (uint8_t b = 1; b <= 8; ++b)
        i.U8(b);
    i.U32(1).Str(u"Data/Мои картинки").U32(0xDEADBEEF).U32(0);
    f.deviceEnds.push_back(i.Size());
    i.Str(u"Nokia").Str(u"").Str(u"").U64(0x0000112233445566ull).Zeros(8).U32(0).Str(u"");
    i.U32(0).U32(2).Str(u"Фото").Str(u"C:/Фото").Str(u"").Str(u"x");
    f.deviceEnds.push_back(i.Size());
    return f;
}

TEST(SettingsCodec, EncodesEveryTagExactly)
{
    SettingsStore store;
    Fill(store);
    EXPECT_EQ(EncodeSettings(store), BuildFull().image.bytes);
}

TEST(SettingsCodec, RoundTripKeepsEverything)
{
    SettingsStore original;
    Fill(original);
    const std::vector<uint8_t> bytes = EncodeSettings(original);
    SettingsStore loaded;
    ASSERT_TRUE(Decode(bytes, loaded));
    EXPECT_EQ(EncodeSettings(loaded), bytes);

    const SettingsValues& v = loaded.values;
    EXPECT_FALSE(v.scanSerial);
    EXPECT_TRUE(v.scanIrDA);
    EXPECT_EQ(v.windowX, -5);
    EXPECT_EQ(v.progressY, -40);
    EXPECT_FALSE(v.showToolbar);
    EXPECT_EQ(v.reservedFlag, 0x5A);
    EXPECT_EQ(v.listViewStyle, 3);
    EXPECT_TRUE(v.firstRun);  // left to the caller

    ASSERT_EQ(loaded.ExcludedPorts.Count(), 2u);
    EXPECT_EQ(Text(loaded.ExcludedPorts.Get(0)->name), "Последовательный порт (COM3)");
    EXPECT_EQ(loaded.ExcludedPorts.Get(1)->kind, 2);
    ASSERT_EQ(loaded.SerialPortSettings.Count(), 2u);
    const EXT_LIST_SERIALPORTS* modem = loaded.SerialPortSettings.Get(1);
    EXPECT_EQ(Text(modem->name), "Модем");
    EXPECT_EQ(modem->baudRate, 9600u);
    EXPECT_EQ(modem->rts, 1);
    ASSERT_EQ(loaded.DeviceSettings.Count(), 2u);
    const LAST_SET_DEVICE* d1 = loaded.DeviceSettings.Get(0);
    EXPECT_EQ(Text(d1->lastFolder), "Data/Мои картинки");
    EXPECT_EQ(d1->reserved2, 0xDEADBEEFu);
    EXPECT_EQ(std::memcmp(d1->reserved, "\x01\x02\x03\x04\x05\x06\x07\x08", 8), 0);
    const LAST_SET_DEVICE* d2 = loaded.DeviceSettings.Get(1);
    EXPECT_EQ(d2->btAddress, 0x0000112233445566ull);
    ASSERT_EQ(d2->favourites.Count(), 2u);
    EXPECT_EQ(Text(d2->favourites.Get(0)->second), "C:/Фото");
}

TEST(SettingsCodec, EmptyListsAndStrings)
{
    SettingsStore store;
    store.SerialPortSettings.Append(new EXT_LIST_SERIALPORTS{GString(), 1, 0, 0});
    const std::vector<uint8_t> bytes = EncodeSettings(store);
    Image expected;
    expected.Scan(1, 1, 1).Block(0, 0, 0, 0, 10000, 0, 1, 1, 1, 0, 1);
    expected.U16(11).U16(1).U32(1).U16(0).U32(1).U8(0).U8(0);  // empty name: n = 1, one NUL unit
    EXPECT_EQ(bytes, expected.bytes);
}

TEST(SettingsCodec, OnlyScanBytes)
{
    SettingsStore store;
    Image i;
    i.Scan(0, 0, 1);
    EXPECT_TRUE(Decode(i.bytes, store));
    EXPECT_FALSE(store.values.scanSerial);
    EXPECT_FALSE(store.values.scanIrDA);
    EXPECT_TRUE(store.values.scanBluetooth);
    ExpectDefaults(store.values);
}

TEST(SettingsCodec, ShortBlocksTakeOnlyWholeGroups)
{
    const struct {
        uint32_t size;
        int32_t windowHeight, progressX, progressY;
        bool toolbar;
        uint8_t style;
    } cases[] = {
        {0, 0, 10000, 0, true, 1},   {19, 0, 10000, 0, true, 1}, {20, 4, 10000, 0, true, 1},
        {27, 4, 10000, 0, true, 1},      {28, 4, 5, 6, true, 1},     {29, 4, 5, 6, false, 1},
        {32, 4, 5, 6, false, 1},     {33, 4, 5, 6, false, 2},    {60, 4, 5, 6, false, 2},
    };
    for (const auto& c : cases) {
        Image i;
        i.Scan(1, 1, 1).U16(1).U32(c.size);
        Image block;
        block.U32(0xFFFFFFFF);
        for (int32_t v : {1, 2, 3, 4, 5, 6})
            block.U32(static_cast<uint32_t>(v));
        block.U8(0).U8(0).U8(0).U8(9).U8(2).Zeros(27);
        i.bytes.insert(i.bytes.end(), block.bytes.begin(), block.bytes.begin() + c.size);
        i.U16(11).U16(1).Str(u"COM7").U32(19200).U8(1).U8(1);  // reading goes on after the block

        SettingsStore store;
        EXPECT_TRUE(Decode(i.bytes, store)) << c.size;
        EXPECT_EQ(store.values.windowX, c.size >= 20 ? 1 : 0) << c.size;
        EXPECT_EQ(store.values.windowHeight, c.windowHeight) << c.size;
        EXPECT_EQ(store.values.progressX, c.progressX) << c.size;
        EXPECT_EQ(store.values.progressY, c.progressY) << c.size;
        EXPECT_EQ(store.values.showToolbar, c.toolbar) << c.size;
        EXPECT_EQ(store.values.listViewStyle, c.style) << c.size;
        EXPECT_EQ(store.SerialPortSettings.Count(), 1u) << c.size;
    }
}

TEST(SettingsCodec, ViewStyleAboveThreeLoadsAsTable)
{
    for (uint8_t style : {0, 3, 4, 7, 255}) {
        Image i;
        i.Scan(1, 1, 1).Block(0, 0, 0, 0, 0, 0, 1, 1, 1, 0, style);
        SettingsStore store;
        store.values.listViewStyle = 2;
        Decode(i.bytes, store);
        EXPECT_EQ(store.values.listViewStyle, style <= 3 ? style : 1) << int(style);
    }
}

TEST(SettingsCodec, UnknownTagsAreSkippedTwoBytesAtATime)
{
    Image i;
    i.Scan(1, 1, 1).U16(99).U16(0).U16(12).U16(10).U32(1).U32(1).Str(u"IR");
    SettingsStore store;
    EXPECT_TRUE(Decode(i.bytes, store));
    ASSERT_EQ(store.ExcludedPorts.Count(), 1u);
    EXPECT_EQ(Text(store.ExcludedPorts.Get(0)->name), "IR");
}

TEST(SettingsCodec, MalformedDataEndsTheReadingAndKeepsWhatCameBefore)
{
    const struct {
        const char* what;
        Image tail;     // after the scan bytes and one good excluded port
        size_t excluded;  // records expected
        size_t serial;
    } cases[] = {
        {"block size beyond the data", Image().U16(1).U32(1000).Zeros(44), 1, 0},
        {"huge block size", Image().U16(1).U32(0xFFFFFFFF).Zeros(8), 1, 0},
        {"count beyond the data", Image().U16(10).U32(0xFFFFFFFF).U32(0).Str(u"B"), 2, 0},
        {"string beyond the data", Image().U16(10).U32(1).U32(0).U32(0x7FFFFFFF).U16('x'), 1, 0},
        {"string of n = 0", Image().U16(10).U32(1).U32(0).U32(0).U16(11).U16(0), 1, 0},
        {"n = 0 stops later tags", Image().U16(11).U16(1).U32(0).U32(9600).U8(0).U8(0).U16(10).U32(1).U32(0).Str(u"C"), 1, 0},
        {"serial count beyond the data", Image().U16(11).U16(0xFFFF).Str(u"COM2").U32(1).U8(0).U8(0), 1, 1},
        {"odd trailing byte", Image().U8(7), 1, 0},
        {"record cut in its middle", Image().U16(10).U32(2).U32(0).Str(u"B").U32(1).U32(3).U16('a'), 2, 0},
    };
    for (const auto& c : cases) {
        Image i;
        i.Scan(0, 0, 0).U16(10).U32(1).U32(1).Str(u"A");
        i.bytes.insert(i.bytes.end(), c.tail.bytes.begin(), c.tail.bytes.end());
        SettingsStore store;
        EXPECT_FALSE(Decode(i.bytes, store)) << c.what;
        EXPECT_FALSE(store.values.scanSerial) << c.what;
        EXPECT_EQ(store.ExcludedPorts.Count(), c.excluded) << c.what;
        EXPECT_EQ(store.SerialPortSettings.Count(), c.serial) << c.what;
        ExpectDefaults(store.values);
    }
}

TEST(SettingsCodec, StringTerminatorIsForcedAndTextEndsAtNul)
{
    Image i;
    i.Scan(1, 1, 1).U16(10).U32(3);
    i.U32(0).U32(3).U16('a').U16('b').U16('c');                      // last unit not NUL
    i.U32(0).U32(4).U16('x').U16(0).U16('y').U16(0);                 // NUL inside
    i.U32(0).U32(2).U16(0x4E2D).U16(0);                              // no ANSI byte for it
    SettingsStore store;
    ASSERT_TRUE(Decode(i.bytes, store));
    ASSERT_EQ(store.ExcludedPorts.Count(), 3u);
    EXPECT_EQ(Text(store.ExcludedPorts.Get(0)->name), "ab");
    EXPECT_EQ(Text(store.ExcludedPorts.Get(1)->name), "x");
    EXPECT_EQ(Text(store.ExcludedPorts.Get(2)->name), "?");
}

TEST(SettingsCodec, DecodeAppendsToExistingRecords)
{
    SettingsStore store;
    store.ExcludedPorts.Append(new EXCLUDEPORTS{1, GString("old")});
    Image i;
    i.Scan(1, 1, 1).U16(10).U32(1).U32(0).Str(u"new");
    ASSERT_TRUE(Decode(i.bytes, store));
    ASSERT_EQ(store.ExcludedPorts.Count(), 2u);
    EXPECT_EQ(Text(store.ExcludedPorts.Get(1)->name), "new");
}

TEST(SettingsCodec, EveryTruncationKeepsWhatCameBeforeTheCut)
{
    const FullImage full = BuildFull();
    const std::vector<uint8_t>& bytes = full.image.bytes;
    SettingsStore original;
    Fill(original);
    auto count = [](const std::vector<size_t>& ends, size_t cut) {
        size_t n = 0;
        for (size_t e : ends)
            n += e <= cut ? 1 : 0;
        return n;
    };
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SettingsStore store;
        // A cut buffer of its own, so that ASan sees any read past the cut.
        std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + cut);
        const bool complete = DecodeSettings(prefix.data(), prefix.size(), store);
        if (cut == bytes.size()) {
            EXPECT_TRUE(complete);
        }

        EXPECT_EQ(store.values.scanSerial, cut >= 1 ? false : true) << cut;
        EXPECT_EQ(store.values.scanIrDA, true) << cut;
        EXPECT_EQ(store.values.scanBluetooth, cut >= 3 ? false : true) << cut;
        if (cut >= full.blockEnd) {
            EXPECT_EQ(store.values.windowWidth, 800) << cut;
            EXPECT_EQ(store.values.listViewStyle, 3) << cut;
        } else {
            ExpectDefaults(store.values);
        }
        ASSERT_EQ(store.ExcludedPorts.Count(), count(full.excludedEnds, cut)) << cut;
        ASSERT_EQ(store.SerialPortSettings.Count(), count(full.serialEnds, cut)) << cut;
        ASSERT_EQ(store.DeviceSettings.Count(), count(full.deviceEnds, cut)) << cut;
        for (uint32_t k = 0; k < store.ExcludedPorts.Count(); ++k)
            EXPECT_EQ(Text(store.ExcludedPorts.Get(k)->name), Text(original.ExcludedPorts.Get(k)->name));
        for (uint32_t k = 0; k < store.SerialPortSettings.Count(); ++k)
            EXPECT_EQ(store.SerialPortSettings.Get(k)->baudRate,
                      original.SerialPortSettings.Get(k)->baudRate);
        for (uint32_t k = 0; k < store.DeviceSettings.Count(); ++k) {
            EXPECT_TRUE(store.DeviceSettings.Get(k)->IsSamePhone(*original.DeviceSettings.Get(k)));
            EXPECT_EQ(store.DeviceSettings.Get(k)->favourites.Count(),
                      original.DeviceSettings.Get(k)->favourites.Count());
        }
    }
}

TEST(SettingsCodec, NullOrEmptyData)
{
    SettingsStore store;
    EXPECT_FALSE(DecodeSettings(nullptr, 10, store));
    EXPECT_FALSE(DecodeSettings(nullptr, 0, store));
    ExpectDefaults(store.values);
    EXPECT_TRUE(store.values.scanSerial);
}

}  // namespace
