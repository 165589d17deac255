#include "filemanager/PhoneTime.h"

#include <windows.h>

bool PhoneTimeToFileTime(const SystemTime& local, uint64_t& fileTime)
{
    const SYSTEMTIME asked{local.year, local.month, 0, local.day, local.hour, local.minute, local.second, 0};
    SYSTEMTIME utc{};
    FILETIME result{};
    // The zone's rule for that date (summer time included), not today's offset.
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &asked, &utc) || !SystemTimeToFileTime(&utc, &result))
        return false;
    fileTime = (static_cast<uint64_t>(result.dwHighDateTime) << 32) | result.dwLowDateTime;
    return true;
}
