// Identification: the device-information text, the AT questions, the choice of the device
// model and its name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/Device.h"
#include "devices/Identification.h"
#include "devices/NOKIA_Device.h"
#include "devices/ObexTargets.h"
#include "devices/SAMSUNG_Device.h"
#include "devices/SIEMENS_Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "support/FakePhone.h"
#include "support/ScriptedSocketFactory.h"
#include "support/VirtualClock.h"

namespace {

struct InfoExpect {
    TComm::InfoIndex entry;
    std::string value;
};

struct DeviceInfoCase {
    const char* name;
    std::string text;
    std::vector<InfoExpect> expected;  // entries not listed must be empty
};

class ParseDeviceInfoTest : public testing::TestWithParam<DeviceInfoCase> {};

TEST_P(ParseDeviceInfoTest, FillsTheInfoEntries)
{
    const DeviceInfoCase& c = GetParam();
    TIrDAPort port;
    // Whatever an earlier identification left is replaced.
    for (GString& entry : port.info)
        entry = "old";
    ParseDeviceInfo(port, GString(c.text.data(), static_cast<uint32_t>(c.text.size())));
    const TComm::InfoIndex parsed[] = {TComm::kManufacturer,    TComm::kModel,          TComm::kSerialNumber,
                                       TComm::kSoftwareVersion, TComm::kSoftwareDate,   TComm::kHardwareVersion,
                                       TComm::kHardwareDate,    TComm::kFirmwareVersion, TComm::kFirmwareDate};
    for (TComm::InfoIndex entry : parsed) {
        std::string want;
        for (const InfoExpect& e : c.expected) {
            if (e.entry == entry)
                want = e.value;
        }
        EXPECT_EQ(std::string(port.info[entry].CStr()), want) << "entry " << entry;
    }
    // Entries the object does not describe are left alone.
    EXPECT_STREQ(port.info[TComm::kDeviceType].CStr(), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Identification, ParseDeviceInfoTest,
    testing::Values(
        DeviceInfoCase{"IrmcObjectOfAPhone",
                       "MANU:SIEMENS\r\nMOD:S65\r\nSN:354000000000003\r\nIRMC-VERSION:1.1\r\nSW-VERSION:25\r\n"
                       "SW-DATE:20050315\r\nHW-VERSION:2.0\r\nHW-DATE:20040601\r\nFW-VERSION:1.7\r\n"
                       "FW-DATE:20050101\r\nPB-TYPE-TX:VCARD2.1\r\n",
                       {{TComm::kManufacturer, "SIEMENS"},
                        {TComm::kModel, "S65"},
                        {TComm::kSerialNumber, "354000000000003"},
                        {TComm::kSoftwareVersion, "25"},
                        {TComm::kSoftwareDate, "20050315"},
                        {TComm::kHardwareVersion, "2.0"},
                        {TComm::kHardwareDate, "20040601"},
                        {TComm::kFirmwareVersion, "1.7"},
                        {TComm::kFirmwareDate, "20050101"}}},
        DeviceInfoCase{"LastLineWithoutLineEnd",
                       "MANU:Nokia\r\nMOD:6230i",
                       {{TComm::kManufacturer, "Nokia"}, {TComm::kModel, "6230i"}}},
        DeviceInfoCase{"EmptyValueAndSurroundingSpaces",
                       "MANU: Sony Ericsson \nMOD:\r\nSN:  12 34  \r",
                       {{TComm::kManufacturer, "Sony Ericsson"}, {TComm::kSerialNumber, "12 34"}}},
        DeviceInfoCase{"KeysAnywhereFirstOccurrenceWins",
                       "X-MANU:Alpha\r\nMANU:Beta\r\nOLD-MOD:one MOD:two\r\n",
                       {{TComm::kManufacturer, "Alpha"}, {TComm::kModel, "one MOD:two"}}},
        DeviceInfoCase{"KeysAreCaseSensitive", "manu:lower\r\nMod:Mixed\r\n", {}},
        DeviceInfoCase{"NothingButGarbage", std::string("\x00\xFF\r\n:::", 6), {}},
        DeviceInfoCase{"ValueStopsAtAnEmbeddedNul", std::string("MANU:AB\0CD\r\n", 12),
                       {{TComm::kManufacturer, "AB"}}},
        DeviceInfoCase{"LongValueIsCut", "MANU:" + std::string(5000, 'M') + "\r\nMOD:" + std::string(256, 'x'),
                       {{TComm::kManufacturer, std::string(kMaxInfoValueBytes, 'M')},
                        {TComm::kModel, std::string(kMaxInfoValueBytes, 'x')}}},
        // Cut inside a run of spaces: the cut value loses them too.
        DeviceInfoCase{"CutValueEndsWithoutSpaces", "MOD:  " + std::string(kMaxInfoValueBytes - 1, 'a') + "   b\r\n",
                       {{TComm::kModel, std::string(kMaxInfoValueBytes - 1, 'a')}}},
        DeviceInfoCase{"ValueOfExactlyTheLimitIsKept", "SN:" + std::string(kMaxInfoValueBytes, '7'),
                       {{TComm::kSerialNumber, std::string(kMaxInfoValueBytes, '7')}}}),
    [](const testing::TestParamInfo<DeviceInfoCase>& info) { return std::string(info.param.name); });

class IdentifyTest : public testing::Test {
protected:
    VirtualClock clock;
    ClockOverride useClock{clock};
    ScriptedSocketFactory factory;
    SocketFactoryOverride useFactory{factory};
    FakePhone phone;

    void PhoneOn(int32_t channel)
    {
        factory.Script(channel, [this](ScriptedSocket& s) {
            s.SetBytePerRead(true);
            phone.Attach(s);
        });
    }
};

TEST_F(IdentifyTest, AtQuestionsInOrderAndWhatErrorAnswersStore)
{
    phone.at["AT+CGMI\r"] = "Nokia";
    phone.at["AT+CGMM\r"] = FakePhone::kError;
    phone.at["AT+CGSN\r"] = "351234567890123";
    phone.at["AT+CGMR\r"] = FakePhone::kSilent;
    PhoneOn(0);
    TSerialPort port;
    port.info[TComm::kModel] = "stale";
    port.info[TComm::kSoftwareVersion] = "kept";
    EXPECT_TRUE(IdentifyByAt(port));
    EXPECT_EQ(phone.log, (std::vector<std::string>{"AT+CGMI", "AT+CGMM", "AT+CGSN", "AT+CGMR"}));
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "Nokia");
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "");  // an ERROR answer stores an empty text
    EXPECT_STREQ(port.info[TComm::kSerialNumber].CStr(), "351234567890123");
    EXPECT_STREQ(port.info[TComm::kSoftwareVersion].CStr(), "kept");  // nothing read: untouched
    // The AT socket was created, opened and kept.
    ASSERT_EQ(port.sockets.Count(), 1u);
    EXPECT_EQ(factory.Created(), (std::vector<int32_t>{0}));
}

TEST_F(IdentifyTest, OnlyErrorToTheManufacturerQuestionIsNoIdentification)
{
    PhoneOn(0);
    TSerialPort port;
    EXPECT_FALSE(IdentifyByAt(port));
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "");
}

TEST_F(IdentifyTest, NoAtSocketAnswersFalseAndKeepsNothing)
{
    factory.FailOpen(0);
    TIrDAPort port;
    EXPECT_FALSE(IdentifyByAt(port));
    EXPECT_EQ(port.sockets.Count(), 0u);
    EXPECT_EQ(factory.Log(), (std::vector<std::string>{"open failed 0", "delete 0"}));
}

TEST_F(IdentifyTest, LongIdentityLinesAreCut)
{
    const std::string longName(3000, 'N');
    phone.at["AT+CGMI\r"] = longName;
    phone.at["AT+CGMM\r"] = std::string(kMaxInfoValueBytes + 1, 'm');
    PhoneOn(0);
    TSerialPort port;
    EXPECT_TRUE(IdentifyByAt(port));
    EXPECT_EQ(std::string(port.info[TComm::kManufacturer].CStr()), longName.substr(0, kMaxInfoValueBytes));
    EXPECT_EQ(port.info[TComm::kModel].Length(), kMaxInfoValueBytes);
}

TEST_F(IdentifyTest, IdentityOfAnEarlierConnectionIsNoAnswer)
{
    phone.at["ATZ\r"] = "";
    phone.at["ATE0\r"] = "";
    phone.at["AT+CGMI\r"] = "SIEMENS";
    phone.at["AT+CGMM\r"] = "S65";
    PhoneOn(0);
    TSerialPort port;
    ASSERT_TRUE(port.Connect(nullptr));
    ASSERT_NE(dynamic_cast<SIEMENS_Device*>(port.device), nullptr);
    port.Disconnect();

    // The next phone on the port takes the handshake but answers no identity question.
    for (const char* question : {"AT+CGMI\r", "AT+CGMM\r", "AT+CGSN\r", "AT+CGMR\r"})
        phone.at[question] = FakePhone::kSilent;
    ASSERT_TRUE(port.Connect(nullptr));
    ASSERT_NE(port.device, nullptr);
    EXPECT_EQ(dynamic_cast<SIEMENS_Device*>(port.device), nullptr);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "");
    EXPECT_STREQ(port.device->name.CStr(), " ");
}

const char kDevInfo[] = "MANU:SIEMENS\r\nMOD:S65\r\nSN:354000000000003\r\nSW-VERSION:25\r\n";

TEST_F(IdentifyTest, DeviceInfoThroughTheFolderBrowsingTarget)
{
    phone.obexMode = true;
    phone.targets = {FakePhone::Target(FolderBrowsingTarget)};
    phone.objects["telecom/devinfo.txt"] = kDevInfo;
    PhoneOn(1);
    TIrDAPort port;
    port.irdaHints[1] = TIrDAPort::kHintObex;
    ASSERT_TRUE(port.Connect(nullptr));
    EXPECT_EQ(phone.log, (std::vector<std::string>{"CONNECT 16", "GET telecom/devinfo.txt", "DISCONNECT"}));
    EXPECT_STREQ(port.info[TComm::kModel].CStr(), "S65");
    EXPECT_STREQ(port.info[TComm::kSoftwareVersion].CStr(), "25");
    ASSERT_NE(port.device, nullptr);
    EXPECT_NE(dynamic_cast<SIEMENS_Device*>(port.device), nullptr);
    EXPECT_STREQ(port.device->name.CStr(), "SIEMENS S65");
    // The OBEX socket stays with the port, closed, for the file access to reopen.
    ASSERT_NE(factory.Last(1), nullptr);
    EXPECT_FALSE(factory.Last(1)->IsOpen());
    EXPECT_EQ(factory.Last(1)->closeCalls, 1);
}

TEST_F(IdentifyTest, DeviceInfoThroughIrmcSyncWhenFolderBrowsingIsRefused)
{
    phone.obexMode = true;
    phone.targets = {FakePhone::Target(IrmcSyncTarget)};
    phone.objects["telecom/devinfo.txt"] = "MANU:Nokia\r\nMOD:6310i\r\n";
    PhoneOn(1);
    TIrDAPort port;
    port.irdaHints[1] = TIrDAPort::kHintObex;
    ASSERT_TRUE(port.Connect(nullptr));
    // A refused CONNECT is sent twice by the OBEX layer before it gives up.
    EXPECT_EQ(phone.log, (std::vector<std::string>{"CONNECT 16", "CONNECT 16", "CONNECT 9",
                                                   "GET telecom/devinfo.txt", "DISCONNECT"}));
    EXPECT_NE(dynamic_cast<NOKIA_Device*>(port.device), nullptr);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "NOKIA");
    EXPECT_STREQ(port.device->name.CStr(), "NOKIA 6310i");
}

TEST_F(IdentifyTest, IrdaPhoneWithoutDeviceInfoIsAskedOverIrComm)
{
    phone.obexMode = true;
    phone.targets = {FakePhone::Target(FolderBrowsingTarget)};
    PhoneOn(1);  // no devinfo object
    FakePhone atPhone;
    atPhone.at["AT+CGMI\r"] = "SAMSUNG";
    atPhone.at["AT+CGMM\r"] = "SGH-E250";
    factory.Script(0, [&](ScriptedSocket& s) { atPhone.Attach(s); });
    TIrDAPort port;
    port.irdaHints[1] = TIrDAPort::kHintObex;
    ASSERT_TRUE(port.Connect(nullptr));
    EXPECT_EQ(phone.log, (std::vector<std::string>{"CONNECT 16", "GET telecom/devinfo.txt", "DISCONNECT"}));
    EXPECT_EQ(atPhone.log, (std::vector<std::string>{"AT+CGMI", "AT+CGMM", "AT+CGSN", "AT+CGMR"}));
    EXPECT_NE(dynamic_cast<SAMSUNG_Device*>(port.device), nullptr);
    EXPECT_STREQ(port.device->name.CStr(), "SAMSUNG SGH-E250");
}

TEST_F(IdentifyTest, BluetoothPhoneTriesDeviceInfoFirst)
{
    phone.obexMode = true;
    phone.targets = {FakePhone::Target(FolderBrowsingTarget)};
    phone.objects["telecom/devinfo.txt"] = kDevInfo;
    PhoneOn(1);
    TBthPort port;
    port.SetClassOfDevice(2 << 8);
    port.deviceName = "My S65";
    ASSERT_TRUE(port.Connect(nullptr));
    EXPECT_STREQ(port.info[TComm::kDeviceType].CStr(), "Сотовый телефон");
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), "SIEMENS");
    // A device that announced a name is shown by it.
    EXPECT_STREQ(port.device->name.CStr(), "My S65");
}

struct ModelCase {
    const char* name;
    const char* manufacturer;  // the answer to AT+CGMI (nullptr: ERROR)
    const char* deviceName;
    const char* expectedModel;  // "generic", "siemens", "nokia", "samsung"
    const char* expectedName;
    const char* manufacturerAfter;
};

class ModelChoiceTest : public IdentifyTest, public testing::WithParamInterface<ModelCase> {};

TEST_P(ModelChoiceTest, ManufacturerTextChoosesTheModel)
{
    const ModelCase& c = GetParam();
    if (c.manufacturer != nullptr)
        phone.at["AT+CGMI\r"] = c.manufacturer;
    phone.at["AT+CGMM\r"] = "M1";
    phone.at["ATZ\r"] = "";
    phone.at["ATE0\r"] = "";
    PhoneOn(0);
    TSerialPort port;
    port.deviceName = c.deviceName;
    ASSERT_TRUE(port.Connect(nullptr));
    ASSERT_NE(port.device, nullptr);
    const char* model = dynamic_cast<SIEMENS_Device*>(port.device)   ? "siemens"
                        : dynamic_cast<NOKIA_Device*>(port.device)   ? "nokia"
                        : dynamic_cast<SAMSUNG_Device*>(port.device) ? "samsung"
                                                                     : "generic";
    EXPECT_STREQ(model, c.expectedModel);
    EXPECT_STREQ(port.device->name.CStr(), c.expectedName);
    EXPECT_STREQ(port.info[TComm::kManufacturer].CStr(), c.manufacturerAfter);
    EXPECT_TRUE(port.identified);
    // The settings record keeps the manufacturer as the phone gave it.
    EXPECT_STREQ(port.device->settings.manufacturer.CStr(), c.manufacturer != nullptr ? c.manufacturer : "");
}

INSTANTIATE_TEST_SUITE_P(
    Identification, ModelChoiceTest,
    testing::Values(ModelCase{"MixedCaseNokia", "Nokia", "", "nokia", "NOKIA M1", "NOKIA"},
                    ModelCase{"SiemensBeforeNokia", "Nokia Siemens Networks", "", "siemens",
                              "Nokia Siemens Networks M1", "Nokia Siemens Networks"},
                    ModelCase{"Samsung", "samsung electronics", "", "samsung", "SAMSUNG M1", "SAMSUNG"},
                    ModelCase{"OtherMakerIsGeneric", "Motorola", "", "generic", "Motorola M1", "Motorola"},
                    ModelCase{"ErrorGivesGenericNamedBySpaceAndModel", nullptr, "", "generic", " M1", ""},
                    // Unidentified: the announced name chooses, and names the device.
                    ModelCase{"ErrorWithAnnouncedNameOfAMaker", nullptr, "nokia 6230", "nokia", "nokia 6230", "NOKIA"},
                    // Upper-casing a name with Cyrillic letters still finds the maker.
                    ModelCase{"AnnouncedNameInLowerCase", nullptr, "мой siemens", "siemens", "мой siemens",
                              "SIEMENS"}),
    [](const testing::TestParamInfo<ModelCase>& info) { return std::string(info.param.name); });

}  // namespace
