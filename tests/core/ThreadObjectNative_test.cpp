#include "support/ThreadObjectContract.h"

namespace {

// Destroyed right after its run ended: the thread record must be released cleanly.
class ShortThread : public ThreadObject {
public:
    void Prepare() override { ClearStopRequest(); }
    void Run() override { ++runs; }
    std::atomic<int> runs{0};
};

}  // namespace

TEST(ThreadObjectNative, ObjectsCanBeDestroyedAfterWait)
{
    for (int i = 0; i < 20; ++i) {
        auto* t = new ShortThread;
        ASSERT_TRUE(t->Start());
        ASSERT_TRUE(t->Wait(kPatienceMs));
        EXPECT_EQ(1, t->runs.load());
        delete t;
    }
}
