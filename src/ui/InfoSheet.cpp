#include "ui/InfoSheet.h"

#include <algorithm>

#include "devices/TComm.h"

namespace {

struct RowSource {
    const char* label;
    TComm::InfoIndex index;
};

constexpr RowSource kRows[] = {
    {"Тип устройства:", TComm::kDeviceType},        {"Производитель:", TComm::kManufacturer},
    {"Модель:", TComm::kModel},                     {"SN:", TComm::kSerialNumber},
    {"Версия SoftWare:", TComm::kSoftwareVersion},  {"Дата SoftWare:", TComm::kSoftwareDate},
    {"Версия Hardware:", TComm::kHardwareVersion},  {"Дата Hardware:", TComm::kHardwareDate},
    {"Версия Firmware:", TComm::kFirmwareVersion},  {"Дата Firmware:", TComm::kFirmwareDate},
};

constexpr int32_t kLeft = 4;
constexpr int32_t kTop = 2;

}  // namespace

std::vector<InfoRow> InfoRowsOf(const GString* info)
{
    std::vector<InfoRow> rows;
    if (info == nullptr)
        return rows;
    for (const RowSource& source : kRows) {
        if (!info[source.index].IsEmpty())
            rows.push_back(InfoRow{GString(source.label), info[source.index]});
    }
    return rows;
}

InfoRowPlace PlaceInfoRow(size_t row, int32_t labelWidth, int32_t rowHeight)
{
    const int32_t y = kTop + static_cast<int32_t>(row) * rowHeight;
    return InfoRowPlace{TPoint(kLeft, y), TPoint(kLeft + labelWidth + rowHeight, y)};
}

FrameStrips FrameStripsOnResize(const TSize& before, const TSize& after)
{
    const int32_t x = std::min(before.cx, after.cx) - 1;
    const int32_t y = std::min(before.cy, after.cy) - 1;
    return FrameStrips{TRect(x, 0, after.cx, after.cy), TRect(0, y, after.cx, after.cy)};
}

GString InfoSheetText(const std::vector<InfoRow>& rows)
{
    GString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i != 0)
            text.Append("\r\n");
        text.Append(rows[i].label);
        text.Append(" ");
        text.Append(rows[i].value);
    }
    return text;
}
