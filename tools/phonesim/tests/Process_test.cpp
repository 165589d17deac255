// The simulator as a process: command line, control connection, link, log, exit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PhoneRoot.h"
#include "SimProcess.h"

namespace {

TEST(Process, HelpNamesEveryOption) {
  std::string out;
  int status = RunPhonesim({"--help"}, out);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (const char* option :
       {"--link", "--control", "--baud", "--log", "--profile", "--manufacturer", "--model", "--serial", "--revision",
        "--start-in-obex", "--guard", "--obex", "--root", "--max-packet", "--memory", "--delay", "--silence-after",
        "--garbage", "--cut-at", "--drop-final", "--stall-input-after", "--obex-fail", "--obex-stall-after", "--obex-bad-length",
        "--bad-listing", "STATS", "MODE?", "QUIT"}) {
    EXPECT_NE(out.find(option), std::string::npos) << option;
  }
}

TEST(Process, BadCommandLinesExitWithStatusTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--profile", "motorola"},
      {"--obex", "ftp"},
      {"--max-packet", "100"},
      {"--max-packet", "70000"},
      {"--guard", "-1"},
      {"--baud", "10"},
      {"--obex", "obexftpd", "--bad-listing", "empty"},
      {"--obex-fail", "GET"},
      {"--obex-fail", "FETCH=0xC4"},
      {"--obex-bad-length", "0"},
      {"--garbage", "3@x"},
      {"--start-in-obex=yes"},
      {"--link"},
      {"--frobnicate"},
  };
  for (const auto& args : cases) {
    std::string out;
    int status = RunPhonesim(args, out);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args[0];
    EXPECT_EQ(out, "") << args[0];
  }
}

TEST(Process, ControlReportsStatsAndMode) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({}));
  EXPECT_EQ(sim.SlavePath().rfind("/dev/pts/", 0), 0u);
  EXPECT_EQ(sim.Control("STATS"), "in=0 out=0");
  sim.Write("ATZ\r");
  EXPECT_EQ(sim.ReadQuiet(), "ATZ\r\r\nOK\r\n");
  EXPECT_EQ(sim.Control("STATS"), "in=4 out=10");
  EXPECT_EQ(sim.Control("MODE?"), "at");
  EXPECT_EQ(sim.Control("FOO"), "ERR FOO");
  EXPECT_EQ(sim.Control("QUIT"), "BYE");
  int status = 0;
  EXPECT_TRUE(sim.WaitExit(3000, status));
}

TEST(Process, ClosingTheControlConnectionEndsTheSimulator) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({}));
  EXPECT_TRUE(TreeEntryExists(sim.LinkPath()));
  int status = sim.CloseControlAndWait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(TreeEntryExists(sim.LinkPath()));
}

TEST(Process, ReopeningThePortKeepsTheLineAlive) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({}));
  sim.Write("ATE0\r");
  sim.ReadQuiet();
  for (int i = 0; i < 3; ++i) {
    sim.ClosePort();
    ASSERT_TRUE(sim.ReopenPort());
    sim.Write("AT\r");
    EXPECT_EQ(sim.ReadQuiet(), "\r\nOK\r\n") << i;
  }
}

TEST(Process, StaleLinkIsReplacedButAFileIsNot) {
  SimProcess sim;
  std::string out;
  std::string file = sim.Dir() + "/plain";
  WriteTreeFile(file, "x");
  int status = RunPhonesim({"--link", file}, out);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_EQ(ReadTreeFile(file), "x");
  ASSERT_EQ(symlink("/dev/null", sim.LinkPath().c_str()), 0);  // left by a simulator that died
  ASSERT_TRUE(sim.Start({}));
  char target[256] = {};
  ASSERT_GT(readlink(sim.LinkPath().c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), sim.SlavePath());
}

TEST(Process, LogShowsBytesBothWaysAndModeChanges) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--profile", "siemens", "--log", sim.Dir() + "/log"}));
  sim.Write("AT^SQWE=3\r");
  sim.ReadQuiet();
  std::string log = sim.Log();
  EXPECT_NE(log.find("PC> 41 54 5E 53 51 57 45 3D 33 0D"), std::string::npos) << log;
  EXPECT_NE(log.find("AT^SQWE=3."), std::string::npos) << log;
  EXPECT_NE(log.find("PC< "), std::string::npos) << log;
  EXPECT_NE(log.find("--- mode obex"), std::string::npos) << log;
}

}  // namespace
