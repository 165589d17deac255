#include "filemanager/win/DateTimeText.h"

#include <windows.h>

GString FormatDateTime(const SystemTime& time, const char* dateFormat, const char* timeFormat)
{
    if (time.year == 0 || time.month == 0)
        return GString();
    SYSTEMTIME system{};
    system.wYear = time.year;
    system.wMonth = time.month;
    system.wDay = time.day;
    system.wHour = time.hour;
    system.wMinute = time.minute;
    system.wSecond = time.second;
    char date[96] = {};
    char clock[64] = {};
    const DWORD dateFlags = dateFormat == nullptr ? DATE_SHORTDATE : 0;
    if (GetDateFormatA(LOCALE_SYSTEM_DEFAULT, dateFlags, &system, dateFormat, date, sizeof date) == 0)
        return GString();
    if (GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &system, timeFormat != nullptr ? timeFormat : "HH':'mm", clock,
                       sizeof clock) == 0)
        return GString();
    GString text(date);
    text.AppendChar(' ');
    text.Append(clock);
    return text;
}
