// OBEX sessions as a whole: entering and leaving OBEX mode, the services a target opens,
// the Siemens memory query, the device-information object, and the obexftpd relay.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ObexWire.h"
#include "PhoneRoot.h"
#include "SimProcess.h"

namespace {

using wire::Packet;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint8_t Code(SimProcess& sim, const std::string& packet) {
  wire::Response r;
  return wire::Exchange(sim, packet, r) ? r.code : 0;
}

std::string ListingRequest() { return Packet(0x83, wire::Name("") + wire::Type("x-obex/folder-listing")); }

std::string Root(SimProcess& sim) {
  std::string root = sim.Dir() + "/root";
  std::filesystem::create_directories(root);
  return root;
}

// The pid obexftpd got, from the simulator's log.
pid_t ObexftpdPid(const std::string& log) {
  size_t at = log.find("obexftpd pid ");
  return at == std::string::npos ? -1 : static_cast<pid_t>(std::stoi(log.substr(at + 13)));
}

bool ProcessAlive(pid_t pid) { return pid > 0 && std::filesystem::exists("/proc/" + std::to_string(pid)); }

TEST(ObexSession, EachEntryToObexModeStartsAtTheTop) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/Sounds/ring.mid", "MThd");
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--root", root, "--guard", "150"}));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    sim.Write("AT^SQWE=3\r");
    EXPECT_NE(sim.ReadUntil("OK\r\n").find("OK"), std::string::npos);
    ASSERT_EQ(Code(sim, wire::Connect(wire::kSiemens)), 0xA0);
    wire::Object listing;
    ASSERT_TRUE(wire::Get(sim, ListingRequest(), listing));
    EXPECT_NE(listing.data.find("<folder name=\"Sounds\""), std::string::npos);
    EXPECT_EQ(Code(sim, wire::SetPath(0x02, "Sounds")), 0xA0);
    Pause(200);
    sim.Write("+++");
    Pause(200);
    EXPECT_EQ(sim.Control("MODE?"), "at");
  }
}

TEST(ObexSession, WithoutFolderBrowsingOnlyObjectsByNameWork) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/a.txt", "A");
  ASSERT_TRUE(sim.Start({"--profile", "nokia", "--root", root, "--start-in-obex"}));
  EXPECT_EQ(Code(sim, Packet(0x83, wire::Name("a.txt"))), 0xC3);  // no CONNECT yet
  for (const std::string& target : {std::string(), std::string("IRMC-SYNC")}) {
    SCOPED_TRACE(target);
    ASSERT_EQ(Code(sim, wire::Connect(target)), 0xA0);
    EXPECT_EQ(Code(sim, ListingRequest()), 0xC3);
    EXPECT_EQ(Code(sim, wire::SetPath(0x02, "x")), 0xC3);
    EXPECT_EQ(Code(sim, Packet(0x82, wire::Name("a.txt"))), 0xC3);  // no delete
    EXPECT_EQ(Code(sim, Packet(0x83, wire::Name("a.txt"))), 0xA0);
    EXPECT_EQ(Code(sim, Packet(0x82, wire::Name("pushed.vcf") + wire::Bytes(0x49, "BEGIN:VCARD"))), 0xA0);
    EXPECT_EQ(Code(sim, Packet(0x81, "")), 0xA0);
  }
  EXPECT_EQ(ReadTreeFile(root + "/pushed.vcf"), "BEGIN:VCARD");
}

TEST(ObexSession, DeviceInfoComesFromTheProfileUnlessStored) {
  SimProcess sim;
  std::string root = Root(sim);
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--root", root, "--start-in-obex", "--serial", "4711"}));
  ASSERT_EQ(Code(sim, wire::Connect("IRMC-SYNC")), 0xA0);
  wire::Object info;
  ASSERT_TRUE(wire::Get(sim, Packet(0x83, wire::Name("telecom/devinfo.txt")), info));
  EXPECT_EQ(info.lastCode, 0xA0);
  EXPECT_EQ(info.data.rfind("MANU:SIEMENS\r\nMOD:S65\r\nSN:4711\r\n", 0), 0u) << info.data;
  EXPECT_NE(info.data.find("SW-VERSION:25\r\n"), std::string::npos);

  WriteTreeFile(root + "/telecom/devinfo.txt", "MANU:Stored\r\n");
  ASSERT_TRUE(wire::Get(sim, Packet(0x83, wire::Name("telecom/devinfo.txt")), info));
  EXPECT_EQ(info.data, "MANU:Stored\r\n");
}

TEST(ObexSession, SiemensMemoryQueryAnswersTotalAndFree) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/Pictures/p.jpg", std::string(1000, 'p'));
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--root", root, "--start-in-obex", "--memory", "1048576"}));
  ASSERT_EQ(Code(sim, wire::Connect(wire::kSiemens)), 0xA0);
  wire::Response r;
  ASSERT_TRUE(wire::Exchange(sim, std::string("\x83\x00\x09\x4C\x00\x06\x32\x01\x01", 9), r));
  EXPECT_EQ(r.raw, std::string("\xA0\x00\x0C\x4C\x00\x09\x32\x04\x00\x10\x00\x00", 12));
  // The form with a folder name, whose tag length counts one byte more than it carries.
  std::string name("\x00\x5C\x00\x50\x00\x00", 6);  // "\P"
  std::string query = std::string("\x4C\x00\x0D\x32\x09\x02\x06", 7) + name;
  ASSERT_TRUE(wire::Exchange(sim, Packet(0x83, query), r));
  ASSERT_EQ(r.raw.size(), 12u);
  uint32_t free = (static_cast<uint8_t>(r.raw[8]) << 24) | (static_cast<uint8_t>(r.raw[9]) << 16) |
                  (static_cast<uint8_t>(r.raw[10]) << 8) | static_cast<uint8_t>(r.raw[11]);
  EXPECT_EQ(free, 1048576u - 1000u);
}

TEST(ObexSession, PutBeyondTheFreeMemoryIsRefused) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/old.bin", std::string(1000, 'o'));
  ASSERT_TRUE(sim.Start({"--root", root, "--start-in-obex", "--memory", "2000", "--max-packet", "4096"}));
  ASSERT_EQ(Code(sim, wire::Connect(wire::kFolderBrowsing)), 0xA0);
  auto put = [](const std::string& name, size_t size) {
    return Packet(0x82, wire::Name(name) + wire::Bytes(0x49, std::string(size, 'n')));
  };
  EXPECT_EQ(Code(sim, put("new.bin", 1001)), 0xCD);
  EXPECT_FALSE(TreeEntryExists(root + "/new.bin"));
  EXPECT_EQ(Code(sim, put("old.bin", 2000)), 0xA0);  // the replaced file's room counts
  EXPECT_EQ(Code(sim, put("new.bin", 1)), 0xCD);
}

TEST(ObexSession, AbortEndsAGetHalfway) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/big.bin", std::string(5000, 'q'));
  ASSERT_TRUE(sim.Start({"--root", root, "--start-in-obex", "--max-packet", "255"}));
  ASSERT_EQ(Code(sim, wire::Connect(wire::kFolderBrowsing)), 0xA0);
  EXPECT_EQ(Code(sim, Packet(0x83, wire::Name("big.bin"))), 0x90);
  EXPECT_EQ(Code(sim, Packet(0x83, "")), 0x90);
  EXPECT_EQ(Code(sim, Packet(0xFF, "")), 0xA0);
  EXPECT_EQ(Code(sim, Packet(0x83, "")), 0xC0);  // nothing to continue
  EXPECT_EQ(Code(sim, Packet(0x81, "")), 0xA0);
  EXPECT_EQ(Code(sim, wire::Connect(wire::kFolderBrowsing)), 0xA0);  // and a new connection
}

TEST(Obexftpd, RelayServesTheTreeAndStopsWithTheSession) {
  SimProcess sim;
  std::string root = Root(sim);
  WriteTreeFile(root + "/hello.txt", "Hello, phone");
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--root", root, "--obex", "obexftpd", "--guard", "150", "--log",
                         sim.Dir() + "/log"}));
  pid_t previous = -1;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    sim.Write("AT^SQWE=3\r");
    EXPECT_NE(sim.ReadUntil("OK\r\n").find("OK"), std::string::npos);
    wire::Response r;
    ASSERT_TRUE(wire::Exchange(sim, wire::Connect(wire::kFolderBrowsing), r)) << sim.Log();
    EXPECT_EQ(r.code, 0xA0);
    wire::Object o;
    ASSERT_TRUE(wire::Get(sim, ListingRequest(), o));
    EXPECT_NE(o.data.find("hello.txt"), std::string::npos) << o.data;
    ASSERT_TRUE(wire::Get(sim, Packet(0x83, wire::Name("hello.txt")), o));
    EXPECT_EQ(o.data, "Hello, phone");
    pid_t pid = ObexftpdPid(sim.Log().substr(sim.Log().rfind("mode obex")));
    EXPECT_TRUE(ProcessAlive(pid));
    EXPECT_NE(pid, previous);  // a fresh server for every session
    EXPECT_FALSE(ProcessAlive(previous));
    previous = pid;
    Pause(200);
    sim.Write("+++");
    Pause(200);
    EXPECT_EQ(sim.Control("MODE?"), "at");
  }
  EXPECT_FALSE(ProcessAlive(previous));
}

TEST(Obexftpd, SigtermStopsTheServerAndRemovesTheLink) {
  SimProcess sim;
  std::string root = Root(sim);
  ASSERT_TRUE(sim.Start({"--root", root, "--obex", "obexftpd", "--start-in-obex", "--log", sim.Dir() + "/log"}));
  ASSERT_EQ(Code(sim, wire::Connect(wire::kFolderBrowsing)), 0xA0);
  pid_t pid = ObexftpdPid(sim.Log());
  ASSERT_TRUE(ProcessAlive(pid));
  kill(sim.Pid(), SIGTERM);
  int status = 0;
  ASSERT_TRUE(sim.WaitExit(3000, status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(ProcessAlive(pid));
  EXPECT_FALSE(TreeEntryExists(sim.LinkPath()));
}

}  // namespace
