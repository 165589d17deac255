// The AT side of the simulated phone, driven through its pty.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SimProcess.h"

namespace {

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Sends a command line and answers what comes back.
std::string Ask(SimProcess& sim, const std::string& line) {
  sim.Write(line);
  return sim.ReadQuiet();
}

TEST(AtMode, ProfilesAnswerTheirIdentity) {
  struct Case {
    const char* profile;
    const char* manufacturer;
    const char* model;
  };
  const Case cases[] = {
      {"generic", "Generic", "GSM Phone"},
      {"nokia", "Nokia", "Nokia 6230i"},
      {"siemens", "SIEMENS", "S65"},
      {"samsung", "SAMSUNG", "SGH-E250"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--profile", c.profile}));
    EXPECT_EQ(Ask(sim, "ATE0\r"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Ask(sim, "AT+CGMI\r"), std::string("\r\n") + c.manufacturer + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(sim, "AT+CGMM\r"), std::string("\r\n") + c.model + "\r\n\r\nOK\r\n");
    std::string serial = Ask(sim, "AT+CGSN\r");
    EXPECT_EQ(serial.size(), 2 + 15 + 2 + 6u) << serial;
    EXPECT_NE(Ask(sim, "AT+CGMR\r").find("\r\n\r\nOK\r\n"), std::string::npos);
  }
}

TEST(AtMode, OverridesReplaceTheProfileIdentity) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--manufacturer", "ACME Mobile", "--model", "Brick 1",
                         "--serial", "42", "--revision", "7.1b"}));
  Ask(sim, "ATE0\r");
  EXPECT_EQ(Ask(sim, "AT+CGMI\r"), "\r\nACME Mobile\r\n\r\nOK\r\n");
  EXPECT_EQ(Ask(sim, "AT+CGMM\r"), "\r\nBrick 1\r\n\r\nOK\r\n");
  EXPECT_EQ(Ask(sim, "AT+CGSN\r"), "\r\n42\r\n\r\nOK\r\n");
  EXPECT_EQ(Ask(sim, "AT+CGMR\r"), "\r\n7.1b\r\n\r\nOK\r\n");
}

TEST(AtMode, EchoStaysOnUntilE0AndReturnsWithZ) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({}));
  const std::pair<const char*, const char*> steps[] = {
      {"ATZ\r", "ATZ\r\r\nOK\r\n"},
      {"ATE0\r", "ATE0\r\r\nOK\r\n"},  // the line itself is still echoed
      {"AT\r", "\r\nOK\r\n"},
      {"ATZ\r", "\r\nOK\r\n"},
      {"AT\r", "AT\r\r\nOK\r\n"},
      {"ATE1\r", "ATE1\r\r\nOK\r\n"},
      {"ATE\r", "ATE\r\r\nOK\r\n"},  // a missing value means 0
      {"AT\r", "\r\nOK\r\n"},
  };
  for (const auto& [sent, expected] : steps) EXPECT_EQ(Ask(sim, sent), expected) << sent;
}

TEST(AtMode, UnknownCommandsGetErrorAndOtherTextNothing) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens"}));
  Ask(sim, "ATE0\r");
  const std::pair<const char*, const char*> cases[] = {
      {"AT+FOO\r", "\r\nERROR\r\n"},
      {"ATX9\r", "\r\nERROR\r\n"},
      {"AT+CGMI=1\r", "\r\nERROR\r\n"},
      {"AT+CGMI=?\r", "\r\nOK\r\n"},
      {"hello\r", ""},
      {"\r", ""},
      {"+++AT\r", "\r\nOK\r\n"},                // noise before AT is dropped
      {"at+cgmm\r", "\r\nS65\r\n\r\nOK\r\n"},   // lower case
      {"AT+CGMM\r\n", "\r\nS65\r\n\r\nOK\r\n"}, // CR LF line end
      {"AT+CGMQ\b\bMM\r", "\r\nS65\r\n\r\nOK\r\n"},
      {"AT^SQWE?\r", "\r\n^SQWE: 0\r\n\r\nOK\r\n"},
      {"AT^SQWE=0\r", "\r\nOK\r\n"},
      {"AT^SQWE=1\r", "\r\nERROR\r\n"},
  };
  for (const auto& [sent, expected] : cases) EXPECT_EQ(Ask(sim, sent), expected) << sent;
  EXPECT_EQ(Ask(sim, std::string(5000, 'A') + "\r"), "\r\nERROR\r\n");
  EXPECT_EQ(sim.Control("MODE?"), "at");
}

TEST(AtMode, CommandSplitOverWritesIsOneCommand) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "nokia"}));
  Ask(sim, "ATE0\r");
  sim.Write("AT+C");
  EXPECT_EQ(sim.ReadQuiet(100), "");
  EXPECT_EQ(Ask(sim, "GMI\r"), "\r\nNokia\r\n\r\nOK\r\n");
}

TEST(ModeSwitch, ProfilesWithoutTheSwitchAnswerError) {
  for (const char* profile : {"generic", "nokia", "samsung"}) {
    SCOPED_TRACE(profile);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--profile", profile}));
    EXPECT_EQ(Ask(sim, "AT^SQWE=3\r"), "AT^SQWE=3\r\r\nERROR\r\n");
    EXPECT_EQ(sim.Control("MODE?"), "at");
  }
}

TEST(ModeSwitch, SiemensEntersObexAndLeavesOnGuardedEscape) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--guard", "200"}));
  EXPECT_EQ(Ask(sim, "AT^SQWE=3\r"), "AT^SQWE=3\r\r\nOK\r\n");
  EXPECT_EQ(sim.Control("MODE?"), "obex");
  EXPECT_EQ(Ask(sim, "ATZ\r"), "");  // AT text goes nowhere in OBEX mode
  Pause(300);
  sim.Write("+++");
  Pause(100);
  EXPECT_EQ(sim.Control("MODE?"), "at");
  EXPECT_EQ(Ask(sim, "ATZ\r"), "ATZ\r\r\nOK\r\n");
}

TEST(ModeSwitch, EscapeWithoutTheGuardTimeIsData) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--guard", "300"}));
  Ask(sim, "AT^SQWE=3\r");
  Pause(400);
  sim.Write("x");
  Pause(50);
  sim.Write("+++");
  Pause(100);
  EXPECT_EQ(sim.Control("MODE?"), "obex");
  Pause(400);
  sim.Write("++");
  Pause(50);
  sim.Write("+");  // pluses may come in pieces
  Pause(100);
  EXPECT_EQ(sim.Control("MODE?"), "at");
}

TEST(ModeSwitch, DefaultGuardIsHalfASecond) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens"}));
  Ask(sim, "AT^SQWE=3\r");
  Pause(300);
  sim.Write("+++");
  Pause(50);
  EXPECT_EQ(sim.Control("MODE?"), "obex");
  Pause(600);
  sim.Write("+++");
  Pause(50);
  EXPECT_EQ(sim.Control("MODE?"), "at");
}

TEST(ModeSwitch, PhoneLeftInObexAnswersNothingUntilEscape) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--start-in-obex", "--guard", "200"}));
  EXPECT_EQ(sim.Control("MODE?"), "obex");
  EXPECT_EQ(Ask(sim, "ATZ\r"), "");
  Pause(300);
  sim.Write("+++");
  Pause(300);
  EXPECT_EQ(Ask(sim, "ATZ\r"), "ATZ\r\r\nOK\r\n");
}

}  // namespace
