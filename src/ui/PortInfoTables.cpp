#include "ui/PortInfoTables.h"

#include "resources/resource.h"

namespace {

struct HintBit {
    uint8_t byte;  // 0 first hint byte, 1 second
    uint8_t mask;
    ProfileRow row;
};

constexpr HintBit kHintBits[] = {
    {0, 0x01, {"PnP", 1214}},
    {0, 0x02, {"PDA/Palmtop", 1213}},
    {0, 0x04, {"Computer", IDS_PROFILE_COMPUTER}},
    {0, 0x08, {"Printer", 1218}},
    {0, 0x10, {"Modem", 1206}},
    {0, 0x20, {"Fax", 1207}},
    {0, 0x40, {"LAN Access", 1205}},
    {1, 0x01, {"Telephony", 1203}},
    {1, 0x02, {"FileServer", IDS_PROFILE_FILE_SERVER}},
    {1, 0x04, {"IrCOMM", 1208}},
    {1, 0x20, {"OBEX", 1211}},
};

struct ServiceText {
    uint16_t serviceClass;
    uint32_t descriptionId;
};

constexpr ServiceText kServiceTexts[] = {
    {0x0000, 1202}, {0x04B0, 1202}, {0x1000, 1202},                  // service discovery
    {0x0003, 1211}, {0x1105, 1211},                                  // object push
    {0x000F, 1206}, {0x1103, 1206},                                  // dial-up networking
    {0x0018, 1226}, {0x112D, 1226},                                  // SIM access
    {0x001B, 1212}, {0x1106, 1212}, {0x1202, 1212},                  // file transfer
    {0x1101, 1208}, {0x1102, 1205}, {0x1104, 1213}, {0x1108, 1210},
    {0x1109, 1203}, {0x110D, 1215}, {0x110E, 1216}, {0x110F, 1227},
    {0x1110, 1209}, {0x1111, 1207}, {0x1112, 1229}, {0x1113, 1228},
    {0x1115, 1224}, {0x1117, 1201}, {0x111A, 1217}, {0x111E, 1221},
    {0x111F, 1230}, {0x1122, 1218}, {0x1124, 1223}, {0x1125, 1222},
    {0x1128, 1219}, {0x112C, 1220}, {0x1200, 1214},
};

}  // namespace

std::vector<ProfileRow> IrdaProfileRows(const uint8_t hints[2])
{
    std::vector<ProfileRow> rows;
    for (const HintBit& bit : kHintBits) {
        if ((hints[bit.byte] & bit.mask) != 0)
            rows.push_back(bit.row);
    }
    return rows;
}

uint32_t ServiceDescriptionId(uint16_t serviceClass)
{
    for (const ServiceText& text : kServiceTexts) {
        if (text.serviceClass == serviceClass)
            return text.descriptionId;
    }
    return 0;
}

GString SerialPortListLine(const GString& portName, const GString& displayName)
{
    GString line(portName);
    line.Append(":   ");
    line.Append(displayName);
    return line;
}
