// Benchmark (run by scripts/bench.sh, never by the test run): how long a listed folder takes
// from the listing's last byte to a filled, painted list, for 1 000 and 10 000 entries, and
// how long the window keeps a message waiting meanwhile. Prints figures, asserts no time.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "FileManagerRig.h"
#include "support/win/ObexWinKit.h"

namespace {

double Now()
{
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Passes everything to the line and notes when the last bytes came in.
class TimedSocket : public Socket {
public:
    explicit TimedSocket(Socket& inner) : Socket(inner.port, inner.channel), inner(inner) {}
    bool Open() override { return inner.Open(); }
    bool Close() override { return inner.Close(); }
    bool IsOpen() override { return inner.IsOpen(); }
    int32_t Read(void* buffer, int32_t count) override
    {
        const int32_t got = inner.Read(buffer, count);
        if (got > 0)
            lastByteAt.store(Now());
        return got;
    }
    int32_t Write(const void* data, int32_t count) override { return inner.Write(data, count); }
    std::atomic<double> lastByteAt{0};

private:
    Socket& inner;
};

// Notes when the window freed the phone: the list is filled then; it is painted first.
class TimedMain : public fm_test::TestMain {
public:
    using TestMain::TestMain;
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = TestMain::WindowProc(hwnd, message, wParam, lParam);
        if (message == QVM_DEVICE_BUSY && lParam == 0 && view != nullptr) {
            UpdateWindow(view->listView.Handle());
            filledAt = Now();
        }
        return result;
    }
    double filledAt = 0;
};

struct Figures {
    double lastByteToFilled = 0;
    double listing = 0;
    double longestWait = 0;
};

Figures ListFolderOf(int count)
{
    Figures figures;
    PhoneTree tree("bench");
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "снимок_%05d.jpg", i);
        tree.File(name, "x");
    }
    PhoneSim sim({"--profile", "generic", "--start-in-obex", "--max-packet", "65535", "--root", tree.unixRoot});
    EXPECT_TRUE(sim.Ready()) << sim.Error();
    ObexLine line(sim);
    TimedSocket timed(line.socket);
    if (!line.socket.Open() || !line.obex->Connect(&timed, kFolderBrowsingTarget, 16)) {
        ADD_FAILURE() << "no OBEX session";
        return figures;
    }
    std::vector<std::string> events;
    TimedMain main(events);
    Device device(nullptr);
    FileManagerHost host;
    host.mainWindow = &main;
    fm_test::TheApplication().GetSystemImageLists(&host.largeImages, &host.smallImages);
    FileManagerWindow window;
    EXPECT_TRUE(window.Create(host, &device));
    main.view = &window;
    RECT client{};
    GetClientRect(main.Handle(), &client);
    MoveWindow(window.Handle(), 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(window.Handle(), SW_SHOW);
    window.AttachSession(line.obex.get(), "PHONE:");

    // Each size is listed a few times; the middle figure counts. Another thread keeps asking
    // the window for an answer while the folder is read and shown.
    constexpr int kRounds = 5;
    std::vector<double> filled;
    std::vector<double> listings;
    for (int round = 0; round < kRounds; ++round) {
        std::atomic<bool> probing{true};
        std::atomic<double> longest{0};
        std::thread probe([&] {
            while (probing.load()) {
                const double sent = Now();
                DWORD_PTR answer = 0;
                SendMessageTimeoutA(window.Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
                longest.store(std::max(longest.load(), Now() - sent));
                Sleep(5);
            }
        });
        const double started = Now();
        window.Refresh();
        EXPECT_TRUE(PumpUntil([&] { return !window.IsWorking(); }, 600000));
        probing.store(false);
        probe.join();
        EXPECT_EQ(window.listView.RowCount(), count);
        filled.push_back(main.filledAt - timed.lastByteAt.load());
        listings.push_back(timed.lastByteAt.load() - started);
        figures.longestWait = std::max(figures.longestWait, longest.load());
    }
    std::sort(filled.begin(), filled.end());
    std::sort(listings.begin(), listings.end());
    figures.lastByteToFilled = filled[kRounds / 2];
    figures.listing = listings[kRounds / 2];
    main.view = nullptr;
    return figures;
}

}  // namespace

TEST(FileManagerTiming, DISABLED_LastByteToFilledList)
{
    // The first list of the process also meets the shell's first icon lookups: not counted.
    const Figures first = ListFolderOf(100);
    std::printf("%6d entries, the process's first lists: %.1f ms\n", 100, first.lastByteToFilled);
    const Figures thousand = ListFolderOf(1000);
    const Figures tenThousand = ListFolderOf(10000);
    for (const auto& [count, f] : {std::pair{1000, thousand}, std::pair{10000, tenThousand}})
        std::printf("%6d entries: last byte to a filled list %.1f ms (the listing itself %.0f ms), middle of 5; "
                    "longest wait of a message to the window %.1f ms\n",
                    count, f.lastByteToFilled, f.listing, f.longestWait);
    std::printf("growth for 10x the entries: %.1fx (at most 12x wanted)\n",
                tenThousand.lastByteToFilled / thousand.lastByteToFilled);
}
