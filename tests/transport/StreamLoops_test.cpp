#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

#include "support/VirtualClock.h"
#include "transport/StreamLoops.h"

namespace {

// Each Send/Recv takes its result from a queue; waits advance the virtual clock.
class FakeEndpoint : public StreamEndpoint {
public:
    explicit FakeEndpoint(VirtualClock& clock) : clock(clock) {}

    int32_t Send(const uint8_t* data, int32_t length) override
    {
        int32_t take = sendPlan.empty() ? length : sendPlan.front();
        if (!sendPlan.empty())
            sendPlan.pop_front();
        if (take > length)
            take = length;
        if (take > 0)
            sent.append(reinterpret_cast<const char*>(data), static_cast<size_t>(take));
        ++sendCalls;
        return take;
    }
    int32_t Recv(uint8_t* buffer, int32_t length) override
    {
        ++recvCalls;
        if (recvPlan.empty())
            return -1;
        std::string chunk = recvPlan.front();
        recvPlan.pop_front();
        if (chunk == "<error>")
            return -1;
        int32_t n = std::min<int32_t>(length, static_cast<int32_t>(chunk.size()));
        std::memcpy(buffer, chunk.data(), static_cast<size_t>(n));
        return n;
    }
    bool WaitReadable(uint32_t ms) override { return Wait(readableAfter, ms); }
    bool WaitWritable(uint32_t ms) override { return Wait(writableAfter, ms); }

    std::deque<int32_t> sendPlan;       // per call: bytes taken (0 would block, -1 error)
    std::deque<std::string> recvPlan;   // per call: bytes, or "<error>"
    std::deque<uint32_t> readableAfter; // per wait: ms until ready (absent: never)
    std::deque<uint32_t> writableAfter;
    std::string sent;
    int sendCalls = 0;
    int recvCalls = 0;
    std::deque<uint32_t> waitLimits;

private:
    bool Wait(std::deque<uint32_t>& plan, uint32_t ms)
    {
        waitLimits.push_back(ms);
        uint32_t after = plan.empty() ? UINT32_MAX : plan.front();
        if (!plan.empty())
            plan.pop_front();
        if (after > ms) {
            clock.Sleep(ms);
            return false;
        }
        clock.Sleep(after);
        return true;
    }
    VirtualClock& clock;
};

class StreamLoops : public testing::Test {
protected:
    VirtualClock clock;
    ClockOverride useClock{clock};
    FakeEndpoint endpoint{clock};
};

TEST_F(StreamLoops, WriteSendsTheRemainderAfterPartialSends)
{
    endpoint.sendPlan = {4, 0, 3, 5};
    endpoint.writableAfter = {10, 10, 10};
    std::string data = "0123456789AB";
    EXPECT_EQ(StreamWrite(endpoint, data.data(), 12, 3000), 12);
    EXPECT_EQ(endpoint.sent, data);  // nothing sent twice, nothing lost
}

TEST_F(StreamLoops, WriteStopsWhenTheWaitRunsOutAndReportsWhatWent)
{
    endpoint.sendPlan = {5, 0, 0, 0};
    endpoint.writableAfter = {1000, 1000};
    std::string data(20, 'z');
    uint32_t start = clock.now;
    EXPECT_EQ(StreamWrite(endpoint, data.data(), 20, 3000), 5);
    EXPECT_EQ(endpoint.sent.size(), 5u);
    EXPECT_EQ(clock.now - start, 3000u);  // the whole wait, not more
    for (size_t i = 1; i < endpoint.waitLimits.size(); ++i)
        EXPECT_LT(endpoint.waitLimits[i], endpoint.waitLimits[i - 1]);
}

TEST_F(StreamLoops, WriteErrorIsNeverNegative)
{
    endpoint.sendPlan = {-1};
    EXPECT_EQ(StreamWrite(endpoint, "abc", 3, 3000), 0);
    endpoint.sendPlan = {2, -1};
    endpoint.writableAfter = {0};
    EXPECT_EQ(StreamWrite(endpoint, "abcd", 4, 3000), 2);
}

TEST_F(StreamLoops, ReadReturnsAtOnceWhenEverythingIsThere)
{
    endpoint.recvPlan = {"abcd"};
    char buffer[4];
    EXPECT_EQ(StreamRead(endpoint, buffer, 4, 5000), 4);
    EXPECT_TRUE(endpoint.waitLimits.empty());
}

struct ReadCase {
    const char* name;
    std::deque<std::string> recv;
    std::deque<uint32_t> readable;
    int32_t count;
    int32_t expected;
    uint32_t elapsed;
};

class StreamReadCases : public StreamLoops, public testing::WithParamInterface<ReadCase> {};

TEST_P(StreamReadCases, HoldsWhatArrivedWithinTheWaits)
{
    const ReadCase& c = GetParam();
    endpoint.recvPlan = c.recv;
    endpoint.readableAfter = c.readable;
    char buffer[64];
    uint32_t start = clock.now;
    EXPECT_EQ(StreamRead(endpoint, buffer, c.count, 5000), c.expected);
    EXPECT_EQ(clock.now - start, c.elapsed);
}

INSTANTIATE_TEST_SUITE_P(
    Socket, StreamReadCases,
    testing::Values(
        ReadCase{"SilentLink", {"<error>"}, {}, 8, 0, 5000},
        ReadCase{"PartThenSilence", {"ab"}, {}, 8, 2, 5000},
        ReadCase{"PiecesWithinWaits", {"ab", "cd", "ef", "gh"}, {100, 100, 100}, 8, 8, 300},
        ReadCase{"AtMostFourWaits", {"a", "b", "c", "d", "e", "f"}, {1, 1, 1, 1, 1}, 8, 5, 4},
        ReadCase{"ErrorsAddNothing", {"ab", "<error>", "cd"}, {1, 1}, 4, 4, 2}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

}  // namespace
