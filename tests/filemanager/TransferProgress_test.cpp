// The transfer dialog's arithmetic and texts, and one operation as its timer sees it.
#include <gtest/gtest.h>

#include <string>

#include "core/Locale.h"
#include "filemanager/TransferMeter.h"
#include "filemanager/TransferTexts.h"

namespace {

std::string S(const GString& s) { return s.CStr(); }

TEST(TransferTexts, PercentsSpeedAndTimeLeftWithoutOverflow)
{
    const uint64_t big = 45ull << 20;  // a file over 43 MB: done * 100 leaves 32 bits
    const struct {
        uint64_t done, size;
        uint32_t percent;
    } percents[] = {
        {0, 0, 0}, {5, 0, 0}, {0, 10, 0}, {1, 3, 33}, {big / 2, big, 50}, {big - 1, big, 99}, {big, big, 100},
        {big + 9, big, 100}, {UINT64_MAX - 1, UINT64_MAX, 99}, {UINT64_MAX / 4, UINT64_MAX, 24},
    };
    for (const auto& c : percents)
        EXPECT_EQ(PercentOf(c.done, c.size), c.percent) << c.done << "/" << c.size;
    // A file over 43 MB grows steadily to 100.
    uint32_t last = 0;
    for (uint64_t done = 0; done <= big; done += 1 << 16) {
        const uint32_t p = PercentOf(done, big);
        EXPECT_GE(p, last) << done;
        last = p;
    }
    EXPECT_EQ(last, 100u);

    EXPECT_EQ(BytesPerSecond(0, 1500), 0u);
    EXPECT_EQ(BytesPerSecond(3000, 1500), 2000u);
    EXPECT_EQ(BytesPerSecond(4000000000ull, 1001), 3996003996u);
    EXPECT_EQ(BytesPerSecond(UINT64_MAX, 1001), UINT32_MAX);
    EXPECT_EQ(BytesPerSecond(100, 0), 0u);
    EXPECT_EQ(SecondsLeft(10000, 0, 0), 0u);
    EXPECT_EQ(SecondsLeft(10000, 20000, 5), 0u);
    EXPECT_EQ(SecondsLeft(10ull << 32, 0, 1), 10ull << 32);

    const struct {
        uint64_t seconds;
        const char* text;
    } times[] = {{0, "00 : 00 : 00"}, {59, "00 : 00 : 59"}, {3725, "01 : 02 : 05"}, {360000, "100 : 00 : 00"}};
    for (const auto& c : times) {
        GString text;
        FormatTimeLeft(text, c.seconds);
        EXPECT_EQ(S(text), c.text);
    }
}

TEST(TransferTexts, TotalAndCounter)
{
    SetThousandsSeparator(' ');
    const struct {
        uint64_t total;
        const char* text;
    } totals[] = {
        {0, "0 байт (0 байт)"},
        {1572864, "1.5 МБ (1 572 864 байт)"},
        // Beyond 32 bits the whole count is shown, not its low half.
        {5ull << 30, "5.0 ГБ (5 368 709 120 байт)"},
    };
    for (const auto& c : totals) {
        GString text;
        FormatTotalSize(text, c.total);
        EXPECT_EQ(S(text), c.text);
    }
    GString counter;
    FormatFileCounter(counter, 3, 12);
    EXPECT_EQ(S(counter), "3/12");
}

// One operation: texts and total first, then blocks between ticks. The speed is sampled only
// on ticks where the file percent moved, at most once a second.
TEST(TransferMeter, OperationAsTheTimerSeesIt)
{
    SetThousandsSeparator(' ');
    TransferMeter meter;
    meter.Reset(1000);
    TransferUpdate first = meter.Tick(1200);
    EXPECT_FALSE(first.filePercentChanged || first.totalPercentChanged || first.source.changed ||
                 first.total.changed || first.speed.changed);

    meter.SetSourceText(GString("C:\\Фото"));
    meter.SetTargetText(GString("Телефон"));
    meter.SetFileCounter(1, 2);
    meter.SetTotalSize(2000000);
    meter.SetFileSize(1000000);
    meter.AddTransferred(250000);
    TransferUpdate u = meter.Tick(1400);
    EXPECT_TRUE(u.filePercentChanged);
    EXPECT_EQ(u.filePercent, 25u);
    EXPECT_TRUE(u.totalPercentChanged);
    EXPECT_EQ(u.totalPercent, 12u);
    EXPECT_EQ(S(u.source.text), "C:\\Фото");
    EXPECT_EQ(S(u.target.text), "Телефон");
    EXPECT_EQ(S(u.counter.text), "1/2");
    EXPECT_EQ(S(u.total.text), "1.9 МБ (2 000 000 байт)");
    EXPECT_FALSE(u.speed.changed) << "400 ms since the mark: no sample yet";

    u = meter.Tick(1600);
    EXPECT_FALSE(u.filePercentChanged || u.source.changed || u.total.changed);

    meter.AddTransferred(250000);
    u = meter.Tick(3000);  // 2000 ms since the mark, 500000 bytes since
    EXPECT_EQ(u.filePercent, 50u);
    ASSERT_TRUE(u.speed.changed);
    EXPECT_EQ(S(u.speed.text), "250 000");
    EXPECT_EQ(S(u.timeLeft.text), "00 : 00 : 06");  // 1 500 000 bytes at 250 000 a second

    // The second file starts its bar again; nothing moved since the last sample.
    meter.SetFileCounter(2, 2);
    meter.SetFileSize(1000000);
    u = meter.Tick(5000);
    EXPECT_TRUE(u.filePercentChanged);
    EXPECT_EQ(u.filePercent, 0u);
    EXPECT_EQ(S(u.speed.text), "0");
    EXPECT_EQ(S(u.timeLeft.text), "00 : 00 : 00");
    EXPECT_EQ(S(u.counter.text), "2/2");

    meter.Cancel();
    EXPECT_TRUE(meter.IsCancelled());
    meter.RequestClose();
    u = meter.Tick(5200);
    EXPECT_TRUE(u.close);
    EXPECT_FALSE(u.counter.changed);

    meter.Reset(6000);
    EXPECT_FALSE(meter.IsCancelled() || meter.CloseRequested());
}

}  // namespace
