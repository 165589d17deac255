// Fault injection from the command line: line faults on the AT side, OBEX faults.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "ObexWire.h"
#include "PhoneRoot.h"
#include "SimProcess.h"

namespace {

using wire::Packet;

std::string Ask(SimProcess& sim, const std::string& line) {
  sim.Write(line);
  return sim.ReadQuiet();
}

bool HighBitsOnly(const std::string& bytes) {
  for (char c : bytes) {
    if (!(static_cast<unsigned char>(c) & 0x80)) return false;
  }
  return !bytes.empty();
}

TEST(LineFaults, DelayHoldsAnswersButNotTheEcho) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--delay", "400"}));
  int64_t start = TestNowMs();
  sim.Write("AT\r");
  EXPECT_EQ(sim.ReadCount(3), "AT\r");
  EXPECT_LT(TestNowMs() - start, 250);
  EXPECT_EQ(sim.ReadUntil("OK\r\n"), "\r\nOK\r\n");
  EXPECT_GE(TestNowMs() - start, 390);
}

TEST(LineFaults, SilenceAfterStopsAllOutput) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--silence-after", "12"}));
  EXPECT_EQ(Ask(sim, "ATZ\r"), "ATZ\r\r\nOK\r\n");
  EXPECT_EQ(Ask(sim, "AT+CGMI\r"), "AT");
  EXPECT_EQ(Ask(sim, "AT\r"), "");
  EXPECT_EQ(sim.Control("STATS"), "in=15 out=12");
}

TEST(LineFaults, GarbageGoesInAtTheChosenByte) {
  struct Case {
    const char* option;
    size_t before;  // clean bytes ahead of the junk
    size_t junk;
  };
  const Case cases[] = {{"5", 0, 5}, {"3@4", 4, 3}, {"2@6", 6, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--garbage", c.option}));
    std::string got = Ask(sim, "ATZ\r");
    const std::string clean = "ATZ\r\r\nOK\r\n";
    ASSERT_EQ(got.size(), clean.size() + c.junk);
    EXPECT_EQ(got.substr(0, c.before), clean.substr(0, c.before));
    EXPECT_TRUE(HighBitsOnly(got.substr(c.before, c.junk)));
    EXPECT_EQ(got.substr(c.before + c.junk), clean.substr(c.before));
    EXPECT_EQ(Ask(sim, "AT\r"), "AT\r\r\nOK\r\n");  // once only
  }
}

TEST(LineFaults, CutAtClosesTheLine) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--cut-at", "6"}));
  EXPECT_EQ(Ask(sim, "ATZ\r"), "ATZ\r\r\n");
  EXPECT_EQ(sim.Control("MODE?"), "cut");
  EXPECT_FALSE(TreeEntryExists(sim.LinkPath()));
  sim.Write("AT\r");
  char byte;
  ssize_t n = read(sim.PortFd(), &byte, 1);
  EXPECT_TRUE(n == 0 || (n < 0 && errno == EIO)) << n << " " << errno;  // hung up, not just empty
  EXPECT_EQ(sim.Control("STATS"), "in=4 out=6");
}

TEST(LineFaults, StallInputAfterTakesInNoMore) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--stall-input-after", "4"}));
  EXPECT_EQ(Ask(sim, "ATZ\r"), "ATZ\r\r\nOK\r\n");
  EXPECT_EQ(Ask(sim, "AT\r"), "");
  EXPECT_EQ(sim.Control("STATS"), "in=4 out=10");
}

TEST(LineFaults, DropFinalLeavesOutResultLines) {
  struct Case {
    const char* option;
    const char* cgmi;
    const char* cgmm;
  };
  const Case cases[] = {
      {"--drop-final", "\r\nSIEMENS\r\n", "\r\nS65\r\n"},
      {"--drop-final=+CGMM", "\r\nSIEMENS\r\n\r\nOK\r\n", "\r\nS65\r\n"},
      {"--drop-final=+cgmi", "\r\nSIEMENS\r\n", "\r\nS65\r\n\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--profile", "siemens", c.option}));
    sim.Write("ATE0\r");
    sim.ReadQuiet();
    EXPECT_EQ(Ask(sim, "AT+CGMI\r"), c.cgmi);
    EXPECT_EQ(Ask(sim, "AT+CGMM\r"), c.cgmm);
  }
}

class ObexFaults : public ::testing::Test {
 protected:
  bool Start(std::vector<std::string> extra) {
    root_ = sim_.Dir() + "/root";
    WriteTreeFile(root_ + "/x&y.txt", "xy");
    WriteTreeFile(root_ + "/photo.jpg", "jpg");
    std::vector<std::string> args = {"--root", root_, "--start-in-obex", "--guard", "150"};
    args.insert(args.end(), extra.begin(), extra.end());
    return sim_.Start(args);
  }
  uint8_t Code(const std::string& packet) {
    wire::Response r;
    return wire::Exchange(sim_, packet, r, 600) ? r.code : 0;
  }
  std::string Listing() {
    wire::Object o;
    EXPECT_TRUE(wire::Get(sim_, Packet(0x83, wire::Name("") + wire::Type("x-obex/folder-listing")), o));
    return o.data;
  }

  SimProcess sim_;
  std::string root_;
};

TEST_F(ObexFaults, FailRulesAnswerTheChosenCode) {
  ASSERT_TRUE(Start({"--obex-fail", "CONNECT=0xC3:1", "--obex-fail", "0x85=0xC1", "--obex-fail", "put=0xCD"}));
  EXPECT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xC3);
  EXPECT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);  // only the first
  EXPECT_EQ(Code(wire::SetPath(0x02, "x")), 0xC1);
  EXPECT_EQ(Code(wire::SetPath(0x02, "x")), 0xC1);
  EXPECT_EQ(Code(Packet(0x02, wire::Name("a") + wire::Bytes(0x48, "1"))), 0xCD);  // by name: both PUT forms
  EXPECT_EQ(Code(Packet(0x82, wire::Name("a") + wire::Bytes(0x49, "1"))), 0xCD);
  EXPECT_FALSE(TreeEntryExists(root_ + "/a"));
  EXPECT_NE(Listing().find("photo.jpg"), std::string::npos);  // other requests pass
}

TEST_F(ObexFaults, FailRuleAddedOnTheControlConnectionCountsFromThen) {
  ASSERT_TRUE(Start({}));
  EXPECT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  EXPECT_EQ(Listing().find("photo.jpg") != std::string::npos, true);
  EXPECT_EQ(sim_.Control("OBEX-FAIL GET=0xC3:1"), "OK");
  EXPECT_EQ(sim_.Control("OBEX-FAIL nonsense"), "ERR OBEX-FAIL nonsense");
  EXPECT_EQ(Code(Packet(0x83, wire::Name("photo.jpg"))), 0xC3);
  EXPECT_EQ(Code(Packet(0x83, wire::Name("photo.jpg"))), 0xA0);
}

TEST_F(ObexFaults, StallSwallowsLaterResponses) {
  ASSERT_TRUE(Start({"--obex-stall-after", "1"}));
  EXPECT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  sim_.Write(Packet(0x83, wire::Name("photo.jpg")));
  EXPECT_EQ(sim_.ReadQuiet(400), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  sim_.Write("+++");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(sim_.Control("MODE?"), "at");
}

TEST_F(ObexFaults, BadLengthLiesInTheChosenResponseOnly) {
  ASSERT_TRUE(Start({"--obex-bad-length", "2:-2"}));
  wire::Response r;
  ASSERT_TRUE(wire::Exchange(sim_, wire::Connect(wire::kFolderBrowsing), r));
  sim_.Write(Packet(0x83, wire::Name("photo.jpg")));
  std::string second = sim_.ReadQuiet();
  ASSERT_GE(second.size(), 3u);
  size_t field = (static_cast<uint8_t>(second[1]) << 8) | static_cast<uint8_t>(second[2]);
  EXPECT_EQ(field + 2, second.size());
  ASSERT_TRUE(wire::Exchange(sim_, Packet(0x83, wire::Name("photo.jpg")), r));
  EXPECT_EQ(r.body, "jpg");
}

TEST_F(ObexFaults, BadListingsAreMalformedAsChosen) {
  struct Case {
    const char* kind;
    const char* present;
    const char* absent;
  };
  const Case cases[] = {
      {"raw-names", "name=\"x&y.txt\"", "&amp;"},
      {"no-space", "<file\nname=\"photo.jpg\"", "<file name"},
      {"single-quotes", "name='photo.jpg'", "name=\""},
      {"truncated", "<?xml", "</folder-listing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SimProcess sim;
    std::string root = sim.Dir() + "/root";
    WriteTreeFile(root + "/x&y.txt", "xy");
    WriteTreeFile(root + "/photo.jpg", "jpg");
    ASSERT_TRUE(sim.Start({"--root", root, "--start-in-obex", "--bad-listing", c.kind}));
    wire::Response r;
    ASSERT_TRUE(wire::Exchange(sim, wire::Connect(wire::kFolderBrowsing), r));
    wire::Object o;
    ASSERT_TRUE(wire::Get(sim, Packet(0x83, wire::Name("") + wire::Type("x-obex/folder-listing")), o));
    EXPECT_NE(o.data.find(c.present), std::string::npos) << o.data;
    EXPECT_EQ(o.data.find(c.absent), std::string::npos) << o.data;
  }
}

TEST_F(ObexFaults, EmptyListingIsAGoodResponseWithoutData) {
  ASSERT_TRUE(Start({"--bad-listing", "empty"}));
  EXPECT_EQ(Code(wire::Connect(wire::kFolderBrowsing)), 0xA0);
  wire::Response r;
  ASSERT_TRUE(wire::Exchange(sim_, Packet(0x83, wire::Name("") + wire::Type("x-obex/folder-listing")), r));
  EXPECT_EQ(r.code, 0xA0);
  EXPECT_TRUE(r.endOfBody);
  EXPECT_EQ(r.body, "");
}

}  // namespace
