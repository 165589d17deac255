// Listings captured from obexftpd (tests/obex/data, made by capture_obexftpd.py): the parser
// on a real document, and a real multi-packet listing answer replayed through ReadFolder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/Locale.h"
#include "obex/ObexTestKit.h"
#include "support/ObexBytes.h"
#include "support/ScriptedSocket.h"

using namespace obexbytes;

namespace {

std::string Capture(const char* name)
{
    const auto path = std::filesystem::path(__FILE__).parent_path() / "data" / name;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ObexftpdCaptures, CyrillicListing)
{
    SetThousandsSeparator(' ');
    const std::string text = Capture("obexftpd_cyrillic.xml");
    ASSERT_FALSE(text.empty());
    TestObex obex;
    obex.listingText.Assign(text.data(), static_cast<uint32_t>(text.size()));
    obex.ParseListing();
    struct Want {
        const char* name;
        uint8_t type;
        const char* sizeText;
        const char* extension;
    };
    const Want want[] = {
        {"Привет мир.txt", 1, "17", ".txt"},
        {"Мелодия.mid", 1, "4 321", ".mid"},
        {"Фото", 2, "Папка", ""},
        {"archive.tar.gz", 1, "99 999", ".gz"},
    };
    ASSERT_EQ(obex.entries.Count(), 4u);
    for (uint32_t i = 0; i < 4; ++i) {
        const FolderObject* e = obex.entries.Get(i);
        EXPECT_STREQ(e->name.CStr(), want[i].name);
        EXPECT_EQ(e->type, want[i].type);
        EXPECT_STREQ(e->sizeText.CStr(), want[i].sizeText);
        EXPECT_STREQ(e->extension.CStr(), want[i].extension);
        EXPECT_GE(e->time.year, 2020);  // capture date, kept as given (UTC, not shifted)
    }
}

TEST(ObexftpdCaptures, MultiPacketListingAnswerReplayed)
{
    const std::string raw = Capture("obexftpd_many.responses");
    ASSERT_FALSE(raw.empty());
    ScriptedSocket socket(nullptr, 1);
    socket.SetBytePerRead(true);
    // Split the recorded answers: each continue answer is followed by one request.
    const std::string request =
        Hex("83 00 1F 01 00 03 42 00 19") + "x-obex/folder-listing" + std::string(1, '\0');
    size_t at = 0;
    bool first = true;
    while (at + 3 <= raw.size()) {
        const size_t length = (static_cast<uint8_t>(raw[at + 1]) << 8) |
                              static_cast<uint8_t>(raw[at + 2]);
        socket.Expect(first ? request : Hex("83 00 03"), raw.substr(at, length));
        first = false;
        at += length;
    }
    TestObex obex;
    obex.socket = &socket;
    obex.connected = true;
    ASSERT_TRUE(obex.ReadFolder(nullptr));
    EXPECT_EQ(obex.listingText.Length(), Capture("obexftpd_many.xml").size());
    EXPECT_EQ(obex.entries.Count(), 65u);
    EXPECT_TRUE(socket.Done());
    EXPECT_TRUE(socket.Unexpected().empty());
}

}  // namespace
