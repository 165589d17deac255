// The information sheet's rows, their places, the frame strips of a resize and its text.
#include <gtest/gtest.h>

#include <string>

#include "devices/TComm.h"
#include "ui/InfoSheet.h"

namespace {

TEST(InfoSheet, OnlyLearntValuesInDisplayOrder)
{
    GString info[TComm::kInfoCount];
    EXPECT_TRUE(InfoRowsOf(info).empty());
    info[TComm::kModel] = "S65";
    info[TComm::kManufacturer] = "SIEMENS";
    info[TComm::kFirmwareDate] = "01.02.2005";
    info[TComm::kDeviceType] = "Phone";
    std::vector<InfoRow> rows = InfoRowsOf(info);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(rows[0].label.CStr(), "Тип устройства:");
    EXPECT_STREQ(rows[1].value.CStr(), "SIEMENS");
    EXPECT_STREQ(rows[2].label.CStr(), "Модель:");
    EXPECT_STREQ(rows[3].label.CStr(), "Дата Firmware:");
    EXPECT_STREQ(InfoSheetText(rows).CStr(),
                 "Тип устройства: Phone\r\nПроизводитель: SIEMENS\r\nМодель: S65\r\nДата Firmware: 01.02.2005");
}

TEST(InfoSheet, PlacesAndFrameStrips)
{
    InfoRowPlace second = PlaceInfoRow(1, 120, 16);
    EXPECT_EQ(second.label, TPoint(4, 18));
    EXPECT_EQ(second.value, TPoint(4 + 120 + 16, 18));
    // Widening: the old right edge column is repainted, not only the new strip.
    FrameStrips wider = FrameStripsOnResize(TSize(300, 200), TSize(400, 200));
    EXPECT_EQ(wider.right, TRect(299, 0, 400, 200));
    EXPECT_EQ(wider.bottom, TRect(0, 199, 400, 200));
    FrameStrips narrower = FrameStripsOnResize(TSize(300, 200), TSize(250, 150));
    EXPECT_EQ(narrower.right, TRect(249, 0, 250, 150));
    EXPECT_EQ(narrower.bottom, TRect(0, 149, 250, 150));
}

}  // namespace
