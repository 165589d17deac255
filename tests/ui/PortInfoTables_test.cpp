// What the information dialogs list for IrDA hint bits and Bluetooth service classes.
#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "ui/PortInfoTables.h"

namespace {

TEST(PortInfoTables, HintBitsInTableOrder)
{
    const uint8_t none[2] = {0, 0};
    EXPECT_TRUE(IrdaProfileRows(none).empty());
    // Bits the table does not name (0x80 of the first byte, 0x08 of the second) show nothing.
    const uint8_t phone[2] = {0x80 | 0x10 | 0x01, 0x08 | 0x20 | 0x04 | 0x01};
    std::vector<ProfileRow> rows = IrdaProfileRows(phone);
    std::string shown;
    for (const ProfileRow& row : rows)
        shown += std::string(row.profile) + "=" + std::to_string(row.descriptionId) + " ";
    EXPECT_EQ(shown, "PnP=1214 Modem=1206 Telephony=1203 IrCOMM=1208 OBEX=1211 ");
    const uint8_t all[2] = {0xFF, 0xFF};
    rows = IrdaProfileRows(all);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[2].descriptionId, uint32_t{IDS_PROFILE_COMPUTER});
    EXPECT_EQ(rows[8].descriptionId, uint32_t{IDS_PROFILE_FILE_SERVER});
}

TEST(PortInfoTables, ServiceClassDescriptions)
{
    EXPECT_EQ(ServiceDescriptionId(0x1106), 1212u);
    EXPECT_EQ(ServiceDescriptionId(0x001B), 1212u);
    EXPECT_EQ(ServiceDescriptionId(0x0000), 1202u);
    EXPECT_EQ(ServiceDescriptionId(0x00FF), 0u) << "no value taken from the record";
}

}  // namespace
