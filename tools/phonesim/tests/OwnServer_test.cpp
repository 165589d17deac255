// The simulator's own OBEX server, spoken to in raw OBEX bytes over the pty.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "ObexWire.h"
#include "PhoneRoot.h"
#include "SimProcess.h"
#include "Utf16.h"

namespace {

using wire::Packet;

std::time_t LocalTime(int y, int mo, int d, int h, int mi, int s) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  return mktime(&tm);
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string out(n, '\0');
  for (char& c : out) c = static_cast<char>(gen() & 0xFF);
  return out;
}

class OwnServer : public ::testing::Test {
 protected:
  void SetUp() override { root_ = sim_.Dir() + "/root"; std::filesystem::create_directories(root_); }

  // The line starts in OBEX mode, as after AT^SQWE=3.
  bool Start(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--root", root_, "--start-in-obex", "--log", sim_.Dir() + "/log"};
    args.insert(args.end(), extra.begin(), extra.end());
    return sim_.Start(args);
  }

  wire::Response Ask(const std::string& packet) {
    wire::Response r;
    EXPECT_TRUE(wire::Exchange(sim_, packet, r)) << sim_.Log();
    return r;
  }

  uint8_t Code(const std::string& packet) { return Ask(packet).code; }

  std::string Listing() {
    wire::Object o;
    EXPECT_TRUE(wire::Get(sim_, Packet(0x83, wire::Name("") + wire::Type("x-obex/folder-listing")), o));
    EXPECT_EQ(o.lastCode, 0xA0);
    return o.data;
  }

  std::string Path(const std::string& rel) const { return root_ + "/" + rel; }

  SimProcess sim_;
  std::string root_;
};

TEST_F(OwnServer, ConnectAcceptsThePhonesTargets) {
  struct Case {
    const char* profile;
    std::string target;
    uint8_t code;
  };
  const Case cases[] = {
      {"generic", wire::kFolderBrowsing, 0xA0}, {"siemens", wire::kSiemens, 0xA0},
      {"generic", wire::kSiemens, 0xD3},        {"nokia", "IRMC-SYNC", 0xA0},
      {"nokia", "", 0xA0},                      {"siemens", std::string(16, '\x11'), 0xD3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " target of " + std::to_string(c.target.size()) + " bytes");
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--profile", c.profile, "--root", root_, "--start-in-obex", "--max-packet", "2048"}));
    wire::Response r;
    ASSERT_TRUE(wire::Exchange(sim, wire::Connect(c.target), r));
    EXPECT_EQ(r.code, c.code);
    if (c.code != 0xA0) continue;
    ASSERT_GE(r.raw.size(), 7u);
    EXPECT_EQ(r.raw.substr(3, 4), std::string("\x10\x00\x08\x00", 4));  // version, flags, our maximum
    if (c.target.empty()) {
      EXPECT_EQ(r.headers.count(0x4A), 0u);
    } else {
      EXPECT_EQ(r.headers[0x4A], c.target);  // Who echoes the target
      EXPECT_EQ(r.headers.count(0xCB), 1u);
    }
  }
}

TEST_F(OwnServer, StrictServerRefusesRequestsWithoutTheSessionsConnectionId) {
  WriteTreeFile(Path("big.bin"), RandomBytes(2000, 3));
  ASSERT_TRUE(Start({"--strict-connection-id", "--max-packet", "255"}));
  wire::Response connect = Ask(wire::Connect(wire::kFolderBrowsing));
  ASSERT_EQ(connect.code, 0xA0);
  ASSERT_EQ(connect.headers[0xCB].size(), 4u);
  const std::string id = std::string(1, '\xCB') + connect.headers[0xCB];
  const std::string top = std::string{0x02, 0x00} + wire::Name("");
  EXPECT_EQ(Code(Packet(0x85, top)), 0xD3);
  EXPECT_EQ(Code(Packet(0x85, std::string{0x02, 0x00} + wire::U32(0xCB, 7) + wire::Name(""))), 0xD3);
  EXPECT_EQ(Code(Packet(0x85, std::string{0x02, 0x00} + id + wire::Name(""))), 0xA0);
  // Continuations of a GET need it as well.
  EXPECT_EQ(Code(Packet(0x83, id + wire::Name("big.bin"))), 0x90);
  EXPECT_EQ(Code(Packet(0x83, "")), 0xD3);
  // Each session gets its own.
  EXPECT_EQ(Code(Packet(0x81, id)), 0xA0);
  wire::Response again = Ask(wire::Connect(wire::kFolderBrowsing));
  EXPECT_NE(again.headers[0xCB], connect.headers[0xCB]);
}

TEST_F(OwnServer, ListingShowsFoldersThenFilesWithSizesAndLocalTimes) {
  std::time_t when = LocalTime(2007, 3, 15, 14, 25, 1);
  WriteTreeFile(Path("b.txt"), "12345", when);
  WriteTreeFile(Path("x&y.txt"), "");
  WriteTreeFile(Path("Фото/cat.jpg"), "jpg");
  std::filesystem::create_directories(Path("a folder"));
  ASSERT_TRUE(Start());
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  std::string xml = Listing();
  EXPECT_EQ(xml.rfind("<?xml", 0), 0u);
  EXPECT_EQ(xml.find("<parent-folder"), std::string::npos);  // at the top
  size_t folderA = xml.find("<folder name=\"a folder\"");
  size_t folderPhoto = xml.find("<folder name=\"Фото\"");
  size_t fileB = xml.find("<file name=\"b.txt\" size=\"5\" modified=\"20070315T142501\"");
  size_t fileXy = xml.find("<file name=\"x&amp;y.txt\" size=\"0\"");
  EXPECT_NE(folderA, std::string::npos) << xml;
  EXPECT_NE(fileB, std::string::npos) << xml;
  EXPECT_NE(fileXy, std::string::npos) << xml;
  EXPECT_LT(folderA, folderPhoto);
  EXPECT_LT(folderPhoto, fileB);
  EXPECT_LT(fileB, fileXy);
  EXPECT_NE(xml.find("</folder-listing>"), std::string::npos);

  ASSERT_EQ(Code(wire::SetPath(0x02, "Фото")), 0xA0);
  xml = Listing();
  EXPECT_NE(xml.find("<parent-folder/>"), std::string::npos);
  EXPECT_NE(xml.find("<file name=\"cat.jpg\" size=\"3\""), std::string::npos) << xml;
}

TEST_F(OwnServer, LargeObjectsGoOutInPacketsEndingWithEndOfBody) {
  std::string content = RandomBytes(3000, 1);
  WriteTreeFile(Path("Sounds/big.bin"), content);
  ASSERT_TRUE(Start({"--max-packet", "255"}));
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  // The phone finds names in its current folder only.
  EXPECT_EQ(Code(Packet(0x83, wire::Name("Sounds/big.bin"))), 0xC4);
  EXPECT_EQ(Code(Packet(0x83, wire::Name("Sounds\\big.bin"))), 0xC4);
  ASSERT_EQ(Code(wire::SetPath(0x02, "Sounds")), 0xA0);
  wire::Object o;
  ASSERT_TRUE(wire::Get(sim_, Packet(0x83, wire::Name("big.bin")), o, 255));
  EXPECT_EQ(o.data, content);
  EXPECT_EQ(o.lastCode, 0xA0);
  EXPECT_TRUE(o.sizesFit);
  EXPECT_EQ(o.firstHeader, 0xC3);  // Length first
  EXPECT_GE(o.packets, 12);

  // The last packet carries data in End-of-Body.
  wire::Response r = Ask(Packet(0x83, wire::Name("big.bin")));
  std::string tail;
  while (r.code == 0x90) {
    EXPECT_FALSE(r.endOfBody);
    r = Ask(Packet(0x83, ""));
  }
  EXPECT_EQ(r.code, 0xA0);
  EXPECT_TRUE(r.endOfBody);
  EXPECT_FALSE(r.body.empty());

  EXPECT_EQ(Code(Packet(0x83, wire::Name("missing.bin"))), 0xC4);
  EXPECT_EQ(Code(Packet(0x83, wire::Name("../outside"))), 0xC4);
}

TEST_F(OwnServer, MultiPacketPutStoresTheFileWithItsTime) {
  ASSERT_TRUE(Start({"--max-packet", "512"}));
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  std::string content = RandomBytes(1500, 2);
  std::string first = wire::Name("новый.bin") + wire::U32(0xC3, 1500) + wire::Bytes(0x44, "20061101T080000") +
                      wire::Bytes(0x48, content.substr(0, 400));
  EXPECT_EQ(Code(Packet(0x02, first)), 0x90);
  EXPECT_EQ(Code(Packet(0x02, wire::Bytes(0x48, content.substr(400, 500)))), 0x90);
  EXPECT_EQ(Code(Packet(0x02, wire::Bytes(0x48, content.substr(900, 500)))), 0x90);
  EXPECT_EQ(Code(Packet(0x82, wire::Bytes(0x49, content.substr(1400)))), 0xA0);
  EXPECT_EQ(ReadTreeFile(Path("новый.bin")), content);
  struct stat st{};
  ASSERT_EQ(stat(Path("новый.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, LocalTime(2006, 11, 1, 8, 0, 0));
}

TEST_F(OwnServer, EmptyPutCreatesAndNamedPutWithoutBodyDeletes) {
  WriteTreeFile(Path("full/inside.txt"), "x");
  ASSERT_TRUE(Start());
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  const std::string created = wire::Name("empty.txt") + wire::U32(0xC3, 0) + wire::Bytes(0x49, "");
  struct Step {
    std::string packet;
    uint8_t code;
    const char* path;
    bool exists;
  };
  const Step steps[] = {
      {Packet(0x82, created), 0xA0, "empty.txt", true},
      {Packet(0x82, wire::Name("empty.txt")), 0xA0, "empty.txt", false},
      {Packet(0x82, wire::Name("empty.txt")), 0xC4, "empty.txt", false},
      {Packet(0x82, wire::Name("full")), 0xCC, "full", true},
      {Packet(0x82, wire::Name("full/inside.txt")), 0xA0, "full/inside.txt", false},
      {Packet(0x82, wire::Name("full")), 0xA0, "full", false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.path);
    EXPECT_EQ(Code(s.packet), s.code);
    EXPECT_EQ(TreeEntryExists(Path(s.path)), s.exists);
  }
  EXPECT_EQ(ReadTreeFile(Path("empty.txt")), "");
}

TEST_F(OwnServer, SetPathGoesDownUpToTheTopAndCreates) {
  WriteTreeFile(Path("Sounds/ring.mid"), "MThd");
  WriteTreeFile(Path("top.txt"), "t");
  ASSERT_TRUE(Start());
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  struct Step {
    std::string packet;
    uint8_t code;
    const char* listed;  // a name the listing afterwards shows
  };
  const Step steps[] = {
      {wire::SetPath(0x02, "Sounds"), 0xA0, "ring.mid"},
      {wire::SetPath(0x02, "Nope"), 0xC4, "ring.mid"},
      {wire::SetPath(0x02, "ring.mid"), 0xC3, "ring.mid"},
      {wire::SetPath(0x00, "New"), 0xA0, "</folder-listing>"},
      {wire::SetPath(0x03, ""), 0xA0, "<folder name=\"New\""},  // up one level: Sounds
      {wire::SetPath(0x02, ""), 0xA0, "top.txt"},               // empty name: the top
      {wire::SetPath(0x03, ""), 0xC4, "top.txt"},               // nothing above the top
      {wire::SetPath(0x02, "Sounds"), 0xA0, "ring.mid"},
      {wire::SetPath(0x02, "", false), 0xA0, "top.txt"},        // no Name header: the top
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Code(s.packet), s.code) << s.listed;
    EXPECT_NE(Listing().find(s.listed), std::string::npos) << s.listed;
  }
  EXPECT_TRUE(std::filesystem::is_directory(Path("Sounds/New")));
}

TEST_F(OwnServer, ActionAndSerialRenameMoveObjects) {
  WriteTreeFile(Path("a.txt"), "A");
  WriteTreeFile(Path("c.txt"), "C");
  WriteTreeFile(Path("dir/d.txt"), "D");
  ASSERT_TRUE(Start());
  ASSERT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  auto action = [](uint8_t id, const std::string& from, const std::string& to) {
    return Packet(0x86, std::string{static_cast<char>(0x94), static_cast<char>(id)} + wire::Name(from) +
                            wire::Unicode(0x15, to));
  };
  auto serialRename = [](const std::string& from, const std::string& to) {
    std::string a = Utf8ToUtf16Be(from, false);
    std::string b = Utf8ToUtf16Be(to, false);
    std::string tlv = std::string{0x34, 4} + "move" + std::string{0x35, static_cast<char>(a.size())} + a +
                      std::string{0x36, static_cast<char>(b.size())} + b;
    return Packet(0x82, wire::Bytes(0x4C, tlv));
  };
  struct Step {
    std::string packet;
    uint8_t code;
    const char* gone;
    const char* there;
  };
  const Step steps[] = {
      {action(0x01, "a.txt", "b.txt"), 0xA0, "a.txt", "b.txt"},
      {action(0x01, "a.txt", "z.txt"), 0xC4, "a.txt", "b.txt"},
      {action(0x01, "b.txt", "c.txt"), 0xC3, "a.txt", "c.txt"},  // the target exists
      {action(0x00, "c.txt", "dir/c2.txt"), 0xA0, "a.txt", "c.txt"},
      {serialRename("b.txt", "имя.txt"), 0xA0, "b.txt", "имя.txt"},
      {serialRename("dir", "dir2"), 0xA0, "dir", "dir2/d.txt"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Code(s.packet), s.code) << s.there;
    EXPECT_FALSE(TreeEntryExists(Path(s.gone))) << s.gone;
    EXPECT_TRUE(TreeEntryExists(Path(s.there))) << s.there;
  }
  EXPECT_EQ(ReadTreeFile(Path("dir2/c2.txt")), "C");
  EXPECT_EQ(ReadTreeFile(Path("имя.txt")), "A");
}

}  // namespace
