// Benchmark (run by scripts/bench.sh, never by the test run): a 1 MiB phone file copied with
// Ctrl+C and pasted by a second program, the phone on a cable at 115200 baud. The figure is
// the paste's reading rate as a share of what the line itself can carry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/win/ObexWinKit.h"
#include "support/win/TempDir.h"
#include "ClipReader.h"
#include "FileManagerRig.h"

namespace {

TEST(ShellCopyThroughput, DISABLED_ClipboardReadOfOneMebibyteAt115200Baud)
{
    constexpr uint32_t kSize = 1024 * 1024;
    // Ten bit times per byte on the line.
    const double lineLimit = 115200 / 10.0;
    fm_test::Rig rig({"--profile", "siemens", "--baud", "115200"});
    const std::string photo = Pattern(kSize, 8);
    rig.tree.File("big.jpg", photo);
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_EQ(rig.port.baudRate, 115200u);
    ASSERT_TRUE(rig.Select("big.jpg"));
    rig.Command(IDM_COPY);

    TempDir desk;
    const fm_test::Pasted pasted = fm_test::PasteElsewhere(desk.Path(), "--no-report");
    ASSERT_EQ(pasted.exitCode, 0u);
    ASSERT_EQ(pasted.Line("READ 0|"), "READ 0|00000001|" + std::to_string(kSize));
    EXPECT_TRUE(PhoneTree::ReadLocal(desk.Path() + "\\big.jpg") == photo) << "the pasted file differs";

    // "DONE bytes=<n> ms=<reading time>"
    const std::string done = pasted.Line("DONE ");
    const size_t at = done.find("ms=");
    ASSERT_NE(at, std::string::npos) << done;
    const unsigned long ms = std::stoul(done.substr(at + 3));
    const double rate = ms != 0 ? kSize * 1000.0 / ms : 0.0;
    std::printf("clipboard paste of 1 MiB from the phone at 115200 baud, 1 KiB packets: %lu ms = %.0f bytes/s "
                "= %.3f of the line's %.0f\n",
                ms, rate, rate / lineLimit, lineLimit);
    std::fflush(stdout);
}

}  // namespace
