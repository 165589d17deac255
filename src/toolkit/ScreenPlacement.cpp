#include "toolkit/ScreenPlacement.h"

#include <algorithm>
#include <limits>

namespace {

// Beyond this a coordinate is a parking place (a minimised window sits at -32000), no position.
constexpr int64_t kFarthest = 30000;

int32_t Saturate(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

bool KeepOnScreen(ScreenRect& rect, int32_t screenWidth, int32_t screenHeight)
{
    // 64-bit: the rectangle may come from a damaged settings file.
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    int64_t left = rect.left;
    int64_t top = rect.top;
    // The bottom edge the last check compares; a top taken back to 0 leaves the height to it.
    int64_t bottom = rect.bottom;
    if (left < 0 || left > kFarthest)
        left = 0;
    if (top < 0 || top > kFarthest) {
        top = 0;
        bottom = screenHeight;
    }
    if (left + width > screenWidth)
        left = screenWidth - width;
    if (bottom > screenHeight)
        top = std::max<int64_t>(screenHeight - height, 0);
    if (left == rect.left && top == rect.top)
        return false;
    rect = ScreenRect{Saturate(left), Saturate(top), Saturate(left + width), Saturate(top + height)};
    return true;
}
