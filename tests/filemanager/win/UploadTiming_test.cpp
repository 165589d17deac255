// Benchmark (run by scripts/bench.sh, never by the test run): a 1 MiB desktop file pasted into
// the file manager of a phone on a 115200 baud cable, from the paste to the phone freed with
// its folder read again, as a share of what the line can carry (11 520 bytes a second).
// Prints the figure, asserts no time.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "DesktopFiles.h"
#include "FileManagerRig.h"
#include "obex/OBEX_FTP.h"

TEST(FileManagerTiming, DISABLED_UploadOfOneMebibyteAt115200Baud)
{
    constexpr size_t kSize = 1024 * 1024;
    constexpr double kLineLimit = 115200 / 10.0;
    fm_test::Rig rig({"--profile", "siemens", "--baud", "115200"});
    fm_test::Desktop desktop;
    std::string content(kSize, '\0');
    for (size_t i = 0; i < kSize; ++i)
        content[i] = static_cast<char>((i * 131) >> 3);
    desktop.File("песня.mp3", content);
    rig.port.baudRate = 115200;
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    auto* obex = dynamic_cast<OBEX_FTP*>(rig.Fm().Session());
    ASSERT_NE(obex, nullptr);

    fm_test::PutOnClipboard(rig.main.Handle(), fm_test::Paths(desktop, {"песня.mp3"}));
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    rig.Command(IDM_PASTE);
    ASSERT_TRUE(rig.Fm().IsWorking());
    // At least 91 s on this line: the wait ends a run that hangs, it measures nothing.
    ASSERT_TRUE(PumpUntil([&] { return !rig.Fm().IsWorking() && !rig.port.device->IsBusy(); }, 900000));
    QueryPerformanceCounter(&end);
    ASSERT_TRUE(rig.tree.Read("песня.mp3") == content);

    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    const double rate = kSize / seconds;
    std::printf("upload of 1 MiB pasted into the file manager at 115200 baud, packets of %u bytes: %.1f s = %.0f "
                "bytes/s = %.3f of the line's %.0f\n",
                static_cast<unsigned>(obex->peerMaxPacket), seconds, rate, rate / kLineLimit, kLineLimit);
    std::fflush(stdout);
}
