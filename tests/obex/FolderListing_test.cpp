// The folder-listing parser: which elements give entries, what the attributes become, and
// the UTF-8 names and listing dates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/Locale.h"
#include "obex/ObexTestKit.h"
#include "obex/Utf8ToAnsi.h"
#include "support/MessageBoxRecorder.h"

namespace {

struct Entry {
    uint8_t type;
    std::string name;
    std::string extension;
    std::string sizeText;
    uint32_t size;
    SystemTime time;
};

class FolderListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSeparator = ThousandsSeparator();
        SetThousandsSeparator(' ');
    }
    void TearDown() override { SetThousandsSeparator(savedSeparator); }

    std::vector<Entry> Parse(const std::string& text)
    {
        obex.listingText.Assign(text.data(), static_cast<uint32_t>(text.size()));
        EXPECT_TRUE(obex.ParseListing());
        std::vector<Entry> out;
        ListIterator<FolderObject> it(obex.entries);
        for (it.First(); !it.IsDone(); it.Next()) {
            const FolderObject* e = it.CurrentItem();
            out.push_back(Entry{e->type, e->name.CStr(), e->extension.CStr(), e->sizeText.CStr(),
                                e->size, e->time});
        }
        return out;
    }

    TestObex obex;
    char savedSeparator = ' ';
};

std::string Wrap(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n"
           "<!DOCTYPE folder-listing SYSTEM \"obex-folder-listing.dtd\">\n"
           "<folder-listing version=\"1.0\">\n" +
           body + "\n</folder-listing>\n";
}

SystemTime Time(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s)
{
    return SystemTime{y, mo, 0, d, h, mi, s, 0};
}

bool SameTime(const SystemTime& a, const SystemTime& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(FolderListing, OneElementEach)
{
    struct Case {
        const char* what;
        std::string element;
        size_t count;  // entries expected (0 or 1)
        uint8_t type;
        std::string name, extension, sizeText;
        uint32_t size;
        SystemTime time;
    };
    const SystemTime none{};
    const Case cases[] = {
        {"file with everything", R"(<file name="a.txt" size="1234" modified="20070315T142501"/>)",
         1, 1, "a.txt", ".txt", "1 234", 1234, Time(2007, 3, 15, 14, 25, 1)},
        {"folder, UTC date not shifted", R"(<folder name="Images" created="20061101T080000Z"/>)",
         1, 2, "Images", "", "Папка", 0, Time(2006, 11, 1, 8, 0, 0)},
        {"file without name", R"(<file size="5"/>)", 1, 1, "?.?", ".?", "5", 5, none},
        {"folder without name", R"(<folder/>  <folder created="x"/>)", 1, 2, "[ERROR]", "",
         "Папка", 0, none},
        {"parent folder", R"(<parent-folder />)", 0, 0, "", "", "", 0, none},
        {"line break after the tag name", "<file\nname=\"a\"/>", 0, 0, "", "", "", 0, none},
        {"tab after the tag name", "<file\tname=\"a\"/>", 0, 0, "", "", "", 0, none},
        {"spaces around '='", R"(<file name = "a.txt"/>)", 1, 1, "?.?", ".?", "", 0, none},
        {"space before '=' only", R"(<file name ="a.txt"/>)", 1, 1, "a.txt", ".txt", "", 0, none},
        {"Cyrillic UTF-8 name", "<file name=\"\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE\"/>", 1, 1, "Фото",
         "", "", 0, none},
        {"size with letters", R"(<file name="x" size="12abc"/>)", 1, 1, "x", "", "12 abc", 12,
         none},
        {"size at the 32-bit limit", R"(<file name="x" size="4294967295"/>)", 1, 1, "x", "",
         "4 294 967 295", 0xFFFFFFFFu, none},
        {"size beyond 32 bits saturates", R"(<file name="x" size="99999999999"/>)", 1, 1, "x", "",
         "99 999 999 999", 0xFFFFFFFFu, none},
        {"negative size", R"(<file name="x" size="-5"/>)", 1, 1, "x", "", "-5", 0, none},
        {"single quotes not recognised", R"(<file name='a.txt'/>)", 1, 1, "?.?", ".?", "", 0,
         none},
        {"longer attribute name answers first", R"(<file xname="x.y" name="a.txt"/>)", 1, 1,
         "x.y", ".y", "", 0, none},
        {"created used without modified", R"(<file name="a" created="20010203T040506"/>)", 1, 1,
         "a", "", "", 0, Time(2001, 2, 3, 4, 5, 6)},
        {"modified wins over created",
         R"(<file name="a" created="20010203T040506" modified="20020304T050607"/>)", 1, 1, "a",
         "", "", 0, Time(2002, 3, 4, 5, 6, 7)},
        {"year only", R"(<file name="a" modified="2007"/>)", 1, 1, "a", "", "", 0,
         Time(0, 20, 7, 0, 0, 0)},
        {"unterminated value runs to the element end", R"(<file name="a.txt/>)", 1, 1, "a.txt/>",
         ".txt/>", "", 0, none},
        {"archive extension", R"(<file name="archive.tar.gz"/>)", 1, 1, "archive.tar.gz", ".gz",
         "", 0, none},
        {"no dot", R"(<file name="README"/>)", 1, 1, "README", "", "", 0, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Entry> entries = Parse(Wrap(c.element));
        ASSERT_EQ(entries.size(), c.count);
        if (c.count == 0)
            continue;
        const Entry& e = entries[0];
        EXPECT_EQ(e.type, c.type);
        EXPECT_EQ(e.name, c.name);
        EXPECT_EQ(e.extension, c.extension);
        EXPECT_EQ(e.sizeText, c.sizeText);
        EXPECT_EQ(e.size, c.size);
        EXPECT_TRUE(SameTime(e.time, c.time))
            << e.time.year << "-" << e.time.month << "-" << e.time.day << " " << e.time.hour
            << ":" << e.time.minute << ":" << e.time.second;
    }
}

TEST_F(FolderListing, ReferencesInNamesAreDecoded)
{
    // The name the phone knows the file by; a '&' that starts no reference is kept, as
    // servers that do not escape write it.
    const struct {
        const char* value;
        const char* name;
    } cases[] = {
        {"Tom &amp; Jerry.txt", "Tom & Jerry.txt"},
        {"&lt;a&gt; &quot;b&quot; &apos;c&apos;", "<a> \"b\" 'c'"},
        {"&#38;&#x26;&#X26;&#0038;", "&&&#X26;&"},
        {"&#1060;&#x43e;", "Фо"},
        {"Tom & Jerry&", "Tom & Jerry&"},
        {"&amp &unknown; &#; &#x; &#12a; &#0; &#xD800; &#x110000;",
         "&amp &unknown; &#; &#x; &#12a; &#0; &#xD800; &#x110000;"},
        {"&&amp;;", "&&;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::vector<Entry> entries =
            Parse(Wrap(std::string("<file name=\"") + c.value + "\" size=\"1\"/>"));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, c.name);
        EXPECT_EQ(entries[0].size, 1u);
    }
}

TEST_F(FolderListing, WholeDocuments)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;  // in order
    };
    const Case cases[] = {
        {"empty text", "", {}},
        {"no elements", "hello world", {}},
        {"Nokia form with an internal DTD",
         "<?xml version=\"1.0\"?>\r\n"
         "<!DOCTYPE folder-listing SYSTEM \"obex-folder-listing.dtd\"\r\n"
         "  [ <!ATTLIST folder mem-type CDATA #IMPLIED>\r\n"
         "    <!ATTLIST folder label CDATA #IMPLIED> ]>\r\n"
         "<folder-listing version=\"1.0\">\r\n"
         "<parent-folder />\r\n"
         "<folder name=\"C:\" user-perm=\"RW\" mem-type=\"DEV\" label=\"Phone memory\"/>\r\n"
         "<folder name=\"E:\" user-perm=\"RW\" mem-type=\"MMC\" label=\"Memory card\"/>\r\n"
         "</folder-listing>\r\n",
         {"C:", "E:"}},
        {"separate closing tag swallows what lies before the next \"/>\"",
         Wrap(R"(<folder name="A"></folder><file name="b" size="1"/><file name="c"/>)"),
         {"A", "c"}},
        {"folder-listing without attributes hides the element after it",
         "<folder-listing>\n<file name=\"a\"/>\n<file name=\"b\"/>\n</folder-listing>", {"b"}},
        {"truncated inside the last element",
         "<folder-listing version=\"1.0\">\n<file name=\"a\"/>\n<file name=\"b\" si", {"a"}},
        {"cut before the end of the document",
         "<folder-listing version=\"1.0\">\n<file name=\"a\"/>\n<folder name=\"f\"/>\n</fol",
         {"a", "f"}},
        {"no \"/>\" anywhere", "<file name=\"a\"> <file name=\"b\"> <folder name=\"c\">", {}},
        {"document order kept", Wrap(R"(<folder name="z"/><file name="y"/><folder name="x"/>)"),
         {"z", "y", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names;
        for (const Entry& e : Parse(c.text))
            names.push_back(e.name);
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(FolderListing, ReparsingReplacesTheEntries)
{
    Parse(Wrap(R"(<file name="a"/><file name="b"/>)"));
    const std::vector<Entry> second = Parse(Wrap(R"(<folder name="c"/>)"));
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(obex.entries.Count(), 1u);
}

TEST_F(FolderListing, NameThatDoesNotFitGetsThePlaceholderAndOneReport)
{
    MessageBoxRecorder boxes;
    const std::string longName(300, 'n');
    const std::vector<Entry> entries =
        Parse(Wrap("<file name=\"ok.txt\"/><file name=\"" + longName + "\"/><folder name=\"" +
                   longName + "\"/>"));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "ok.txt");
    EXPECT_EQ(entries[1].name, "?.?");  // not the name of the entry before it
    EXPECT_EQ(entries[2].name, "[ERROR]");
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(Utf8ToAnsi, Conversions)
{
    struct Case {
        const char* what;
        std::string input;
        uint32_t outputSize;
        bool ok;
        std::string output;
    };
    const Case cases[] = {
        {"ASCII", "abc", 260, true, "abc"},
        {"Cyrillic", "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE", 260, true, "Фото"},
        {"three-byte sequence with a mapping", "\xE2\x82\xAC", 260, true, "\x88"},  // euro sign
        {"no mapping in the code page", "\xE4\xB8\xAD", 260, true, "?"},
        {"two-byte sequence cut by the end", "ab\xD0", 260, true, "ab?"},
        {"three-byte sequence cut by the end", "ab\xE2\x82", 260, true, "ab?"},
        {"stops at an embedded NUL", std::string("ab\0cd", 5), 260, true, "ab"},
        {"empty", "", 260, true, ""},
        {"exactly fills the output", "abcd", 5, true, "abcd"},
        {"one byte too many", "abcde", 5, false, ""},
        {"Cyrillic that does not fit", "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE", 4, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> out(c.outputSize, 'X');
        EXPECT_EQ(Utf8ToAnsi(c.input.data(), static_cast<uint32_t>(c.input.size()), out.data(),
                             c.outputSize),
                  c.ok);
        EXPECT_EQ(std::string(out.data()), c.output);
    }
}

TEST(ParseListingTime, Forms)
{
    struct Case {
        std::string text;
        SystemTime expected;
    };
    const SystemTime untouched{1, 2, 3, 4, 5, 6, 7, 8};
    const Case cases[] = {
        {"20070315T142501", Time(2007, 3, 15, 14, 25, 1)},
        {"20070315T142501Z", Time(2007, 3, 15, 14, 25, 1)},
        {"20070315", Time(2007, 3, 15, 0, 0, 0)},
        {"20070315T1425", Time(2007, 3, 15, 0, 14, 25)},
        {"2007", Time(0, 20, 7, 0, 0, 0)},
        {"garbage", Time(0, 0, 0, 0, 0, 0)},
        {"-20070315T-142501", Time(0, 0, 0, 0, 0, 0)},
        // Numbers beyond 32 bits stop at 4294967295 rather than overflow.
        {"99999999999999999999", Time(36280, 72, 95, 36280, 72, 95)},
        {"", untouched},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SystemTime t = untouched;
        OBEX_FTP::ParseListingTime(t, c.text.data(), static_cast<uint32_t>(c.text.size()));
        EXPECT_TRUE(SameTime(t, c.expected)) << t.year << "-" << t.month << "-" << t.day << " "
                                             << t.hour << ":" << t.minute << ":" << t.second;
    }
}

}  // namespace
