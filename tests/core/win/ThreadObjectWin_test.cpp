#include <windows.h>

#include "support/ThreadObjectContract.h"

namespace {

class IdThread : public ThreadObject {
public:
    void Prepare() override { ClearStopRequest(); }
    void Run() override { seenId = GetCurrentThreadId(); }
    DWORD seenId = 0;
};

}  // namespace

TEST(ThreadObjectWin, ThreadIdIsTheSystemIdOfTheRun)
{
    IdThread t;
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.Wait(kPatienceMs));
    EXPECT_NE(0u, t.seenId);
    EXPECT_EQ(t.seenId, t.ThreadId());
}
