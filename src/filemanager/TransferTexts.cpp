#include "filemanager/TransferTexts.h"

#include <cinttypes>

#include "core/ByteFormat.h"

uint32_t PercentOf(uint64_t done, uint64_t size)
{
    if (size == 0)
        return 0;
    if (done >= size)
        return 100;
    // done < size, so the quotient is below 100; the product needs more than 64 bits.
    return static_cast<uint32_t>(static_cast<unsigned __int128>(done) * 100 / size);
}

uint32_t BytesPerSecond(uint64_t bytes, uint32_t elapsedMs)
{
    if (elapsedMs == 0)
        return 0;
    const unsigned __int128 speed = static_cast<unsigned __int128>(bytes) * 1000 / elapsedMs;
    return speed > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(speed);
}

uint64_t SecondsLeft(uint64_t total, uint64_t done, uint32_t speed)
{
    if (speed == 0 || done >= total)
        return 0;
    return (total - done) / speed;
}

void FormatTimeLeft(GString& out, uint64_t seconds)
{
    const uint64_t hours = seconds / 3600;
    const uint64_t minutes = seconds % 3600 / 60;
    out.Format("%02" PRIu64 " : %02" PRIu64 " : %02" PRIu64, hours, minutes, seconds % 60);
}

void FormatGroupedCount(GString& out, uint64_t value)
{
    out.Format("%" PRIu64, value);
    GroupDigits(out);
}

void FormatTotalSize(GString& out, uint64_t total)
{
    if (total <= UINT32_MAX) {
        FormatByteSize(out, static_cast<uint32_t>(total), 1);
    } else {
        // Beyond what the 32-bit formatter takes, always gigabytes.
        out.Format("%0.1f ГБ", static_cast<double>(total) / (1024.0 * 1024.0 * 1024.0));
    }
    GString count;
    FormatGroupedCount(count, total);
    out.Append(" (");
    out.Append(count);
    out.Append(" байт)");
}

void FormatFileCounter(GString& out, uint32_t number, uint32_t count)
{
    out.Format("%u/%u", number, count);
}
