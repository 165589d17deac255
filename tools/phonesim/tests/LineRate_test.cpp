// The line-rate option: bytes cross the line no faster than ten bit times each, both ways.
#include <gtest/gtest.h>

#include "ObexWire.h"
#include "PacedLine.h"
#include "PhoneRoot.h"
#include "SimProcess.h"

namespace {

constexpr int64_t kSecondNs = 1000000000;

TEST(PacedLine, CarriesEachByteInTenBitTimesAfterTheOneBefore) {
  PacedLine line(9600);  // 960 bytes a second
  line.Add(std::string(96, 'a'), 0);
  EXPECT_EQ(line.TakeArrived(0), "");
  EXPECT_EQ(line.TakeArrived(kSecondNs / 10 - 1).size(), 93u);  // in pieces of three
  // Added while the line is busy: they wait for it.
  line.Add("bc", kSecondNs / 20);
  EXPECT_EQ(line.TakeArrived(kSecondNs / 10), "aaa");
  EXPECT_EQ(line.NextArrivalNs(), kSecondNs / 10 + 2 * kSecondNs / 960);
  EXPECT_EQ(line.TakeArrived(kSecondNs / 5), "bc");
  EXPECT_EQ(line.InFlight(), 0u);
  // An idle line gives no credit: a byte added later takes its own time.
  line.Add("d", kSecondNs);
  EXPECT_EQ(line.NextArrivalNs(), kSecondNs + kSecondNs / 960);

  // A long run at 115200 baud does not drift from the exact figure.
  PacedLine fast(115200);
  const size_t mebibyte = 1 << 20;
  fast.Add(std::string(mebibyte, 'x'), 0);
  const int64_t end = static_cast<int64_t>(mebibyte * 10 * kSecondNs / 115200);
  const size_t early = fast.TakeArrived(end - 1).size();
  EXPECT_LT(early, mebibyte);
  EXPECT_EQ(early + fast.TakeArrived(end).size(), mebibyte);
}

// Lower bounds only: a loaded machine may be slower than the line, never faster.
TEST(LineRate, SimulatorTakesAndSendsAtTheLineRate) {
  SimProcess sim;
  const std::string root = sim.Dir() + "/root";
  WriteTreeFile(root + "/f.bin", std::string(4000, 'f'));
  ASSERT_TRUE(sim.Start({"--baud", "9600", "--start-in-obex", "--root", root}));
  wire::Response r;
  ASSERT_TRUE(wire::Exchange(sim, wire::Connect(wire::kFolderBrowsing, 1024), r, 5000));
  auto lineMs = [](size_t bytes) { return static_cast<int64_t>(bytes) * 1000 / 960; };

  // Towards the phone: its answer cannot leave before the whole request has come in.
  const std::string put = wire::Packet(0x82, wire::Name("p.bin") + wire::Bytes(0x49, std::string(960, 'p')));
  int64_t start = TestNowMs();
  ASSERT_TRUE(wire::Exchange(sim, put, r, 10000));
  EXPECT_EQ(r.code, 0xA0);
  EXPECT_GE(TestNowMs() - start, lineMs(put.size()));

  // Towards the PC: a short request, a full packet back.
  start = TestNowMs();
  ASSERT_TRUE(wire::Exchange(sim, wire::Packet(0x83, wire::Name("f.bin")), r, 10000));
  EXPECT_EQ(r.code, 0x90);
  EXPECT_GE(TestNowMs() - start, lineMs(r.raw.size()));
  EXPECT_GE(r.raw.size(), 1000u);
}

}  // namespace
