#include "obex/LocalFileTime.h"

#include <ctime>

bool FileTimeToLocalSystemTime(uint64_t fileTime, SystemTime& out)
{
    // 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
    constexpr uint64_t kEpochDelta = 11644473600ull;
    const uint64_t seconds = fileTime / 10000000u;
    if (seconds < kEpochDelta)
        return false;
    const time_t t = static_cast<time_t>(seconds - kEpochDelta);
    struct tm tm;
    if (localtime_r(&t, &tm) == nullptr || tm.tm_year + 1900 > 30827)
        return false;
    out = SystemTime{static_cast<uint16_t>(tm.tm_year + 1900), static_cast<uint16_t>(tm.tm_mon + 1),
                     static_cast<uint16_t>(tm.tm_wday), static_cast<uint16_t>(tm.tm_mday),
                     static_cast<uint16_t>(tm.tm_hour), static_cast<uint16_t>(tm.tm_min),
                     static_cast<uint16_t>(tm.tm_sec),
                     static_cast<uint16_t>(fileTime / 10000u % 1000u)};
    return true;
}
