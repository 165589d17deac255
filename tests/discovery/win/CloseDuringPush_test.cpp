// Closing while a push runs: the closing thread stops the push and waits for its end before
// any port is disconnected, so the push's socket and device are never destroyed under it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/Settings.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "discovery/win/ThreadClose.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/ObexWinKit.h"
#include "support/win/PushRig.h"

namespace {

// Logs each released port into the push's log, with whether the push still ran.
class ReleaseLog : public PortListObserver {
public:
    ReleaseLog(PushRecorder& log, const OBEX_Push& push) : log(log), push(push) {}
    void ReleasePort(TComm* port) override
    {
        log.Note(std::string("release ") + port->displayName.CStr() +
                 (push.IsPushing() ? " while pushing" : ""));
    }
    void PortsChanged() override {}

private:
    PushRecorder& log;
    const OBEX_Push& push;
};

TEST(ClosingThread, StopsAPushBeforeThePortsGo)
{
    PhoneRoot root;
    // Small packets, each answer held back: the file takes far longer than the test.
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--max-packet", "255", "--delay", "20"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    LinePushSockets sockets(sim.ComName());
    SettingsStore store;
    PortList ports(store);
    TBthPort* phone = NewPushPhone();
    ports.ports.Append(phone);

    PhoneRoot local;
    local.Write("long.bin", Pattern(400000, 51));
    MessageBoxRecorder boxes;
    PushRecorder recorder;
    OBEX_Push push;
    push.SetListener(&recorder);
    push.SetProgress(&recorder);
    push.selection.files.Append(new FileInformation(LocalFile(local.Path("long.bin"))));
    ASSERT_TRUE(push.StartPush(phone));
    recorder.WaitMoving();

    ReleaseLog observer(recorder, push);
    Thread_Close closing;
    closing.Attach(nullptr, &ports, &observer, nullptr);
    closing.AddWork(&push);
    ASSERT_TRUE(closing.Start());
    closing.Wait(ThreadObject::kInfinite);

    EXPECT_TRUE(closing.Done());
    EXPECT_FALSE(push.IsPushing());
    const std::vector<std::string> log = recorder.Log();
    const int idle = IndexOf(log, "idle");
    const int release = IndexOf(log, "release Phone");
    EXPECT_NE(idle, -1);
    EXPECT_GT(release, idle) << "the port went while the push ran";
    EXPECT_EQ(ports.Count(), 0u);
    EXPECT_FALSE(root.Exists("long.bin"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("long.bin"), std::string::npos) << boxes.Boxes()[0].text;
}

}  // namespace
