// The size-limit question of a refused upload names the phone and its limit, and clears the
// file-access object's error once asked.
#include <gtest/gtest.h>

#include "core/Locale.h"
#include "core/MessageReporter.h"
#include "devices/Device.h"
#include "devices/TSerialPort.h"
#include "obex/FtpSizeLimit.h"
#include "samsung/SAMSUNG_AT_FTP.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScriptedSocket.h"

TEST(FtpSizeLimit, QuestionNamesThePhoneBehindTheSocketAndClearsTheError)
{
    TSerialPort port;
    port.device = new Device(&port);
    port.device->name = "SAMSUNG SGH-E250";
    ScriptedSocket socket(&port);
    SAMSUNG_AT_FTP media;
    ASSERT_TRUE(media.Connect(&socket, nullptr, 0));
    media.maxFileSize = 204800;
    media.errorCode = 1050;

    const char saved = ThousandsSeparator();
    SetThousandsSeparator(' ');
    MessageBoxRecorder boxes(MessageReporter::kNo);
    FtpSizeLimit limit(media);
    EXPECT_EQ(Reporter().Report(MessageKind::SizeLimitText, static_cast<uint32_t>(media.LastError()),
                                {.text = "Мелодия.mid", .limitSource = &limit}),
              MessageReporter::kNo);
    SetThousandsSeparator(saved);

    const auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("«Мелодия.mid»"), std::string::npos);
    EXPECT_NE(shown[0].text.find("«SAMSUNG SGH-E250» ограничивает"), std::string::npos);
    EXPECT_NE(shown[0].text.find("превышать 204 800 байт"), std::string::npos);
    EXPECT_EQ(media.errorCode, 0u);
    EXPECT_EQ(media.LastError(), 0);
}

TEST(FtpSizeLimit, ObjectWithoutAPhoneGivesAnEmptyName)
{
    SAMSUNG_AT_FTP media;
    media.maxFileSize = 999;
    FtpSizeLimit limit(media);
    EXPECT_TRUE(limit.DeviceDisplayName().IsEmpty());
    EXPECT_EQ(limit.SizeLimit(), 999u);
}
