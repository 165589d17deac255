#include "obex/LocalFileTime.h"

#include <windows.h>

bool FileTimeToLocalSystemTime(uint64_t fileTime, SystemTime& out)
{
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(fileTime);
    utc.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st))
        return false;
    out = SystemTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
                     st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    return true;
}

bool LocalSystemTimeToFileTime(const SystemTime& local, uint64_t& fileTime)
{
    const SYSTEMTIME asked{local.year, local.month, 0, local.day, local.hour, local.minute, local.second, 0};
    SYSTEMTIME utc{};
    FILETIME result{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &asked, &utc) || !SystemTimeToFileTime(&utc, &result))
        return false;
    fileTime = (static_cast<uint64_t>(result.dwHighDateTime) << 32) | result.dwLowDateTime;
    return true;
}
