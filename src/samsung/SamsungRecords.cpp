#include "samsung/SamsungRecords.h"

#include <chrono>

#include "core/ByteFormat.h"
#include "obex/LocalFileTime.h"
#include "obex/Utf8ToAnsi.h"
#include "samsung/WireName.h"

std::vector<std::string_view> SplitRecords(std::string_view text, std::string_view prefix)
{
    std::vector<std::string_view> records;
    if (prefix.empty())
        return records;
    size_t start = text.find(prefix);
    while (start != std::string_view::npos) {
        const size_t next = text.find(prefix, start + prefix.size());
        const size_t end = next == std::string_view::npos ? text.size() : next;
        records.push_back(text.substr(start, end - start));
        start = next;
    }
    return records;
}

GString TextAfter(const GString& text, const char* marker)
{
    const uint32_t at = text.Find(marker);
    if (at == 0)
        return GString();
    uint32_t markerLength = 0;
    while (marker[markerLength] != 0)
        ++markerLength;
    const uint32_t from = at - 1 + markerLength;
    return GString(text.CStr() + from, text.Length() - from);
}

uint32_t LeadingNumber(const GString& text)
{
    const char* p = text.CStr();
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f')
        ++p;
    if (*p == '-')
        return 0;
    if (*p == '+')
        ++p;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX)
            return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

uint16_t FieldS(const char* bytes, uint32_t count)
{
    uint32_t length = 0;
    while (length < count && bytes[length] != 0)  // a short text ends inside the field
        ++length;
    uint16_t value = 0;
    GString(bytes, length).ParseValue(&value, 'S');
    return value;
}

uint32_t FieldL(const GString& text)
{
    uint32_t value = 0;
    text.ParseValue(&value, 'L');
    return value;
}

bool ParseFileSystemTime(const GString& text, SystemTime& time)
{
    time = SystemTime{};
    if (text.Length() <= 18 || *text.At(4) != ':')
        return false;
    const char* t = text.CStr();
    time.year = FieldS(t, 4);
    time.month = FieldS(t + 5, 2);
    time.day = FieldS(t + 8, 2);
    time.hour = FieldS(t + 11, 2);
    time.minute = FieldS(t + 14, 2);
    time.second = FieldS(t + 17, 2);
    return true;
}

bool ParsePhotoTime(const GString& text, SystemTime& time)
{
    time = SystemTime{};
    if (text.Length() <= 14 || *text.At(2) != '/')
        return false;
    const char* t = text.CStr();
    time.day = FieldS(t, 2);
    time.month = FieldS(t + 3, 2);
    time.year = FieldS(t + 6, 4);
    time.hour = FieldS(t + 11, 2);
    time.minute = FieldS(t + 14, 2);
    return true;
}

bool NameFromWire(const GString& utf8, GString& name)
{
    char buffer[kWireNameBuffer];
    if (utf8.IsEmpty() || !Utf8ToAnsi(utf8.CStr(), utf8.Length(), buffer, sizeof buffer) ||
        buffer[0] == 0)
        return false;
    name.Assign(buffer);
    return true;
}

void SetGroupedSize(FolderObject& entry, const GString& text)
{
    entry.sizeText = text;
    entry.size = LeadingNumber(text);
    GroupDigits(entry.sizeText);
}

SystemTime LocalTimeNow()
{
    // FILETIME counts 100 ns units from 1601-01-01, 11644473600 s before the Unix epoch.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
    const uint64_t fileTime = (static_cast<uint64_t>(seconds) + 11644473600ull) * 10000000ull;
    SystemTime now{};
    FileTimeToLocalSystemTime(fileTime, now);
    now.dayOfWeek = 0;
    now.milliseconds = 0;
    return now;
}
