#include "toolkit/ListRows.h"

#include <gtest/gtest.h>

TEST(ListRows, CheckBoxImageAndTextColumns)
{
    // A row of the ports list: check box, a 26 x 11 state picture, the text.
    ListRowParts parts = LayOutListRow(TRect(0, 20, 200, 38), true, TSize(26, 11));
    EXPECT_EQ(parts.checkBox, TRect(3, 22, 16, 35));
    EXPECT_EQ(parts.image, TRect(19, 23, 45, 34));
    EXPECT_EQ(parts.text, TRect(48, 20, 200, 38));
    ListRowParts plain = LayOutListRow(TRect(0, 0, 200, 18), false, TSize());
    EXPECT_EQ(plain.checkBox, TRect());
    EXPECT_EQ(plain.image, TRect());
    EXPECT_EQ(plain.text, TRect(3, 0, 200, 18));
}

TEST(ListRows, OnlyEnabledRowsWithACheckBoxToggle)
{
    struct Row {
        bool hasCheckBox, enabled, checked;
        bool toggles;
    } rows[] = {
        {true, true, false, true},
        {true, true, true, true},
        {true, false, true, false},   // an unsupported port keeps its state
        {false, true, false, false},  // a row without check box
    };
    for (const Row& r : rows) {
        ListBoxRow row;
        row.hasCheckBox = r.hasCheckBox;
        row.enabled = r.enabled;
        row.checked = r.checked;
        EXPECT_EQ(ToggleRow(row), r.toggles);
        EXPECT_EQ(row.checked, r.toggles ? !r.checked : r.checked);
    }
}

TEST(ListRows, ReleaseTogglesInsideTheSquareOfTheSelectedRowOnly)
{
    const ListRowParts parts = LayOutListRow(TRect(0, 0, 200, 18), true, TSize());
    EXPECT_TRUE(ReleaseTogglesRow(parts, TPoint(3, 2), true));
    EXPECT_TRUE(ReleaseTogglesRow(parts, TPoint(15, 14), true));
    EXPECT_FALSE(ReleaseTogglesRow(parts, TPoint(16, 8), true));  // just right of the square
    EXPECT_FALSE(ReleaseTogglesRow(parts, TPoint(8, 8), false));  // a row not yet selected
    EXPECT_FALSE(ReleaseTogglesRow(LayOutListRow(TRect(0, 0, 200, 18), false, TSize()), TPoint(8, 8), true));
}
