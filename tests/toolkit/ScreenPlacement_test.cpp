// Where the keep-on-screen rule puts a window on a 1024x768 screen.
#include "toolkit/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(ScreenPlacement, KeepOnScreen)
{
    const struct {
        const char* what;
        ScreenRect in;
        ScreenRect out;
    } cases[] = {
        {"on the screen", {10, 20, 510, 420}, {10, 20, 510, 420}},
        {"exactly the screen", {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"minimised parking place", {-32000, -32000, -31840, -31973}, {0, 0, 160, 27}},
        {"left of the screen", {-10, 50, 490, 450}, {0, 50, 500, 450}},
        {"left far off", {40000, 50, 40500, 450}, {0, 50, 500, 450}},
        {"above the screen", {10, -5, 510, 395}, {10, 0, 510, 400}},
        {"top far off and taller than the screen", {0, 31000, 500, 32000}, {0, 0, 500, 1000}},
        {"past the right edge", {700, 10, 1200, 410}, {524, 10, 1024, 410}},
        {"wider than the screen", {0, 0, 1300, 500}, {-276, 0, 1024, 500}},
        {"past the bottom edge", {10, 500, 510, 900}, {10, 368, 510, 768}},
        {"past both edges", {900, 700, 1400, 1100}, {524, 368, 1024, 768}},
        // Its caption would end above the screen, out of the user's reach.
        {"taller than the screen", {10, 100, 510, 1000}, {10, 0, 510, 900}},
        {"damaged extremes", {kMin, 0, kMax, 100}, {kMin, 0, 1024, 100}},
    };
    for (const auto& c : cases) {
        ScreenRect rect = c.in;
        const bool moved = KeepOnScreen(rect, 1024, 768);
        EXPECT_EQ(moved, c.in.left != c.out.left || c.in.top != c.out.top || c.in.right != c.out.right) << c.what;
        EXPECT_EQ(rect.left, c.out.left) << c.what;
        EXPECT_EQ(rect.top, c.out.top) << c.what;
        EXPECT_EQ(rect.right, c.out.right) << c.what;
        EXPECT_EQ(rect.bottom, c.out.bottom) << c.what;
    }
}

}  // namespace
