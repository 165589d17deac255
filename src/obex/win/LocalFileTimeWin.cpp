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
