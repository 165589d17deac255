// Parts of the simulator checked in-process: the escape detector, the OBEX packet filter,
// the UTF-16 codec and the AT engine with a profile's extra commands.
#include <gtest/gtest.h>

#include "AtEngine.h"
#include "AtExtensions.h"
#include "ByteLog.h"
#include "EscapeDetector.h"
#include "FolderListing.h"
#include "ObexPacketFilter.h"
#include "StandardCommands.h"
#include "Utf16.h"

namespace {

TEST(EscapeDetector, NeedsSilenceBeforeThreePluses) {
  struct Chunk {
    int64_t atMs;
    const char* bytes;
  };
  struct Case {
    const char* what;
    std::vector<Chunk> chunks;
    bool escaped;
    std::string passed;
  };
  const Case cases[] = {
      {"after silence", {{600, "+++"}}, true, ""},
      {"too soon", {{100, "+++"}}, false, "+++"},
      {"in pieces", {{600, "+"}, {610, "+"}, {620, "+"}}, true, ""},
      {"data between", {{600, "++x+"}}, false, "++x+"},
      {"pause inside", {{600, "++"}, {1200, "+"}}, false, "++"},  // the last may start an escape
      {"pause inside then again", {{600, "++"}, {1200, "+++"}}, true, "++"},
      {"data then pluses", {{600, "x+++"}}, false, "x+++"},
      {"plus data", {{600, "+A"}}, false, "+A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EscapeDetector detector(500);
    detector.Reset(0);
    bool escaped = false;
    std::string passed;
    for (const Chunk& chunk : c.chunks) {
      EscapeDetector::Result r = detector.Feed(chunk.bytes, chunk.atMs);
      passed += r.pass;
      escaped = escaped || r.escaped;
    }
    EXPECT_EQ(escaped, c.escaped);
    EXPECT_EQ(passed, c.passed);
  }
}

TEST(EscapeDetector, BytesAfterTheEscapeAreLeftForTheAtSide) {
  EscapeDetector detector(500);
  detector.Reset(0);
  EscapeDetector::Result r = detector.Feed("+++ATZ\r", 700);
  EXPECT_TRUE(r.escaped);
  EXPECT_EQ(r.used, 3u);
}

TEST(ObexPacketFilter, FailRulesFollowPacketsSplitAnywhere) {
  ByteLog log;
  ObexFaults faults;
  faults.fail.push_back({0x83, true, 0xC4, 1});
  ObexPacketFilter filter(faults, 0, log);
  const std::string get("\x83\x00\x06\x01\x00\x03", 6);
  const std::string put("\x02\x00\x04\x7E", 4);
  std::string stream = get + put + get;
  std::string toServer;
  std::string toPc;
  for (char c : stream) filter.FromPc(std::string(1, c), toServer, toPc);
  EXPECT_EQ(toPc, std::string("\xC4\x00\x03", 3));
  EXPECT_EQ(toServer, put + get);  // the rule was for one request only
}

TEST(ObexPacketFilter, RequestsTheServerCannotTakeNeverReachIt) {
  ByteLog log;
  ObexPacketFilter filter(ObexFaults{}, 255, log);
  std::string toServer;
  std::string toPc;
  const std::string big = std::string("\x02\x01\x00", 3) + std::string(253, 'b');
  filter.FromPc(big.substr(0, 200), toServer, toPc);
  EXPECT_EQ(toPc, "");  // answered once complete
  filter.FromPc(big.substr(200), toServer, toPc);
  EXPECT_EQ(toPc, std::string("\xCD\x00\x03", 3));
  const std::string fits("\x81\x00\x03", 3);
  filter.FromPc(fits, toServer, toPc);
  EXPECT_EQ(toServer, fits);

  ObexPacketFilter atText(ObexFaults{}, 255, log);  // AT text read as OBEX: 0x41 0x54 0x5A
  toServer.clear();
  toPc.clear();
  atText.FromPc("ATZ\r", toServer, toPc);
  EXPECT_EQ(toServer + toPc, "");
  ObexPacketFilter tiny(ObexFaults{}, 255, log);
  tiny.FromPc(std::string("\x83\x00\x01\x81\x00\x03", 6), toServer, toPc);
  EXPECT_EQ(toServer, fits);  // a head shorter than itself is dropped, silently
  EXPECT_EQ(toPc, "");
}

TEST(ObexPacketFilter, StallAndBadLengthCountServerResponses) {
  ByteLog log;
  ObexFaults faults;
  faults.stallAfter = 2;
  faults.badLengthAt = 2;
  faults.badLengthDelta = 300;
  ObexPacketFilter filter(faults, 0, log);
  const std::string a("\xA0\x00\x03", 3);
  const std::string b("\x90\x00\x05\xAB\xCD", 5);
  std::string toPc;
  filter.FromServer(a + b.substr(0, 2), toPc);
  filter.FromServer(b.substr(2) + a, toPc);
  EXPECT_EQ(toPc, a + std::string("\x90\x01\x31\xAB\xCD", 5));
  EXPECT_EQ(filter.Responses(), 3u);
}

TEST(Utf16, ConvertsBothWays) {
  struct Case {
    std::string utf8;
    std::string utf16;
  };
  const Case cases[] = {
      {"a.txt", std::string("\x00\x61\x00\x2E\x00\x74\x00\x78\x00\x74", 10)},
      {"Фото", std::string("\x04\x24\x04\x3E\x04\x42\x04\x3E", 8)},
      {"\xF0\x9F\x93\xB7", std::string("\xD8\x3D\xDC\xF7", 4)},  // a camera, beyond 16 bits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16Be(c.utf8, false), c.utf16);
    EXPECT_EQ(Utf8ToUtf16Be(c.utf8, true), c.utf16 + std::string(2, '\0'));
    std::string terminated = c.utf16 + std::string("\x00\x00\x00\x41", 4);
    EXPECT_EQ(Utf16BeToUtf8(reinterpret_cast<const uint8_t*>(terminated.data()), terminated.size()), c.utf8);
  }
  const std::string lone("\xD8\x3D\x00\x41\x00", 5);  // lone high surrogate, odd last byte
  EXPECT_EQ(Utf16BeToUtf8(reinterpret_cast<const uint8_t*>(lone.data()), lone.size()),
            "\xEF\xBF\xBD" "A" "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16Be("\xD0", false), std::string("\xFF\xFD", 2));  // cut sequence
}

TEST(ObexTime, ParsesLocalAndUtcTimes) {
  std::time_t t = 0;
  ASSERT_TRUE(ParseObexTime("20070315T142501", t));
  EXPECT_EQ(ObexLocalTime(t), "20070315T142501");
  ASSERT_TRUE(ParseObexTime("19700101T000100Z", t));
  EXPECT_EQ(t, 60);
  EXPECT_FALSE(ParseObexTime("2007-03-15", t));
  EXPECT_FALSE(ParseObexTime("20070315X142501", t));
}

// A profile file's extra commands: an upload that takes raw bytes after a prompt, and a
// line that is not an AT command.
class UploadCommands : public AtExtension {
 public:
  std::string received;
};

std::unique_ptr<AtExtension> CreateUploadCommands(const ExtensionContext& context, AtCommandTable& table) {
  auto state = std::make_unique<UploadCommands>();
  UploadCommands* s = state.get();
  table.Add("+XUP", [s](const AtCommand& command, AtLine& line) {
    size_t want = static_cast<size_t>(std::stoi(command.args.substr(1)));
    line.Send(">");
    line.TakeRaw([s, want, &line](std::string_view bytes) {
      size_t n = std::min(bytes.size(), want - s->received.size());
      s->received.append(bytes.substr(0, n));
      bool done = s->received.size() == want;
      if (done) line.Final("OK");
      return RawStep{n, done};
    });
  });
  table.AddLine("##>", [](const AtCommand&, AtLine& line) { line.Send("page\r\n"); });
  table.Add("+CGMI", [context](const AtCommand&, AtLine& line) {
    line.Info("+CGMI: " + context.profile.manufacturer);
    line.Final("OK");
  });
  return state;
}

const bool registered = RegisterAtExtension("test-upload", &CreateUploadCommands);

class Collect : public AtEngine::Host {
 public:
  void SendToPc(std::string_view bytes, bool) override { out.append(bytes); }
  std::string out;
};

TEST(AtEngine, ProfileExtensionsAddCommandsAndRawTransfers) {
  ASSERT_TRUE(registered);
  PhoneProfile profile;
  ASSERT_TRUE(FindProfile("samsung", profile));
  profile.name = "test-upload";
  AtCommandTable table;
  AddStandardCommands(table, profile);
  auto extensions = CreateAtExtensions({profile, "/tmp"}, table);
  ASSERT_EQ(extensions.size(), 1u);
  auto* upload = static_cast<UploadCommands*>(extensions[0].get());
  Collect host;
  AtEngine engine(table, host, LineFaults{});
  const std::string input = "ATE0\rAT+XUP=5\rAT\r\nxATZ\r";
  EXPECT_EQ(engine.Feed(input), input.size());
  EXPECT_EQ(upload->received, "AT\r\nx");  // raw bytes are not commands
  EXPECT_EQ(host.out, "ATE0\r\r\nOK\r\n>\r\nOK\r\n\r\nOK\r\n");
  host.out.clear();
  engine.Feed("##>\rAT+CGMI\r");
  EXPECT_EQ(host.out, "##>\rpage\r\nAT+CGMI\r\r\n+CGMI: SAMSUNG\r\n\r\nOK\r\n");  // replaced, echo back after ATZ
}

TEST(AtEngine, StopsAfterTheSwitchToObex) {
  PhoneProfile profile;
  ASSERT_TRUE(FindProfile("siemens", profile));
  AtCommandTable table;
  AddStandardCommands(table, profile);
  Collect host;
  AtEngine engine(table, host, LineFaults{});
  const std::string bytes = "AT^SQWE=3\r\x80\x00\x07";
  EXPECT_EQ(engine.Feed(bytes), 10u);
  EXPECT_TRUE(engine.TakeObexRequest());
  EXPECT_FALSE(engine.TakeObexRequest());
  EXPECT_EQ(host.out, "AT^SQWE=3\r\r\nOK\r\n");
}

}  // namespace
