#include "filemanager/PhoneTime.h"

#include <ctime>

bool PhoneTimeToFileTime(const SystemTime& local, uint64_t& fileTime)
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
    // 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
    fileTime = (static_cast<uint64_t>(t) + 11644473600ull) * 10000000u;
    return true;
}
