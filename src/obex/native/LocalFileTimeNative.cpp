#include "obex/LocalFileTime.h"

#include <ctime>

namespace {
// 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
constexpr uint64_t kEpochDelta = 11644473600ull;
}  // namespace

bool FileTimeToLocalSystemTime(uint64_t fileTime, SystemTime& out)
{
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

bool LocalSystemTimeToFileTime(const SystemTime& local, uint64_t& fileTime)
{
    if (local.year < 1970 || local.year > 30827 || local.month < 1 || local.month > 12 || local.day < 1 ||
        local.day > 31 || local.hour > 23 || local.minute > 59 || local.second > 59)
        return false;
    struct tm tm {};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    const time_t t = mktime(&tm);
    // mktime moves an impossible day (31 April) on; the calendar has no such date.
    if (t == static_cast<time_t>(-1) || tm.tm_mday != local.day || tm.tm_mon != local.month - 1)
        return false;
    fileTime = (static_cast<uint64_t>(t) + kEpochDelta) * 10000000u;
    return true;
}
