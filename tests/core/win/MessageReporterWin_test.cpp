#include <windows.h>

#include "core/FileAccess.h"
#include "support/MessageReporterContract.h"
#include "support/win/TempDir.h"

namespace {

std::string FormatSystemText(DWORD code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0x0400, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = n > 0 ? std::string(text, n) : std::string();
    LocalFree(text);
    return result;
}

}  // namespace

TEST(MessageReporterWin, SystemErrorWithCodeZeroShowsTheFailureOfTheLastCall)
{
    TempDir folder;
    MessageBoxRecorder recorder(IDOK);
    FileAccess f;
    ASSERT_FALSE(f.Open(folder.File("absent\\file.txt").c_str(), FileAccess::kGenericRead, 0,
                        FileAccess::kOpenExisting));
    EXPECT_EQ(IDOK, Reporter().Report(MessageKind::SystemError, 0));
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(1u, boxes.size());
    const std::string expected = FormatSystemText(ERROR_PATH_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, boxes[0].text);
    EXPECT_NE(FormatSystemText(ERROR_SUCCESS), boxes[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK | MB_ICONERROR), boxes[0].style);
    EXPECT_EQ("QV - Ошибка", boxes[0].caption);
}

TEST(MessageReporterWin, ACodeWithoutSystemTextShowsPrefixAndNameOnly)
{
    MessageBoxRecorder recorder(IDOK);
    const DWORD noText = 0x20001234;  // customer bit: the system has no text for it
    ASSERT_TRUE(FormatSystemText(noText).empty());
    Reporter().Report(MessageKind::SystemError, noText, {.prefixId = 1001, .text = "COM12"});
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Ошибка открытия:COM12\n", boxes[0].text);
}

TEST(MessageReporterWin, MissingResourceShowsTheSystemTextOfTheLoadFailure)
{
    MessageBoxRecorder recorder(IDOK);
    SetLastError(ERROR_SUCCESS);
    Reporter().Report(MessageKind::ResourceText, 1005);
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(2u, boxes.size());
    const std::string head = "Ошибка чтения строкового ресурса: #1005\n";
    ASSERT_EQ(head, boxes[0].text.substr(0, head.size()));
    const std::string system = boxes[0].text.substr(head.size());
    EXPECT_FALSE(system.empty());
    EXPECT_NE(FormatSystemText(ERROR_SUCCESS), system)
        << "the text is that of the failed load, not of an earlier success";
    SetLastError(ERROR_ACCESS_DENIED);
    recorder.Clear();
    Reporter().Report(MessageKind::ResourceText, 1005);
    ASSERT_EQ(2u, recorder.Boxes().size());
    EXPECT_EQ(system, recorder.Boxes()[0].text.substr(head.size()))
        << "nor that of a failure before the report";
}

TEST(MessageReporterWin, BoxStylesAreTheSystemConstants)
{
    // The styles of the table written as the system's names, so a wrong constant shows.
    struct Case {
        uint32_t id;
        unsigned style;
    };
    const Case cases[] = {
        {1004, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2},
        {1010, MB_YESNO | MB_ICONQUESTION},
        {1011, MB_OK | MB_ICONWARNING},
        {1101, MB_OK | MB_ICONERROR},
    };
    MessageBoxRecorder recorder(IDYES);
    for (const Case& c : cases) {
        recorder.Clear();
        Reporter().Report(MessageKind::ResourceText, c.id, {.text = "x"});
        const auto boxes = recorder.Boxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(c.style, boxes[0].style) << c.id;
    }
}

TEST(MessageReporterWin, SizeLimitUsesTheLocaleSeparatorTheProgramTookAtStart)
{
    SeparatorGuard guard;
    // What the program does at start: the first byte of the user's thousands separator.
    char locale[5] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND | LOCALE_USE_CP_ACP, locale,
                             sizeof locale), 0);
    SetThousandsSeparator(locale[0]);
    const char used = ThousandsSeparator();
    MessageBoxRecorder recorder(IDNO);
    FakeLimitSource source("Phone", 1048576);
    EXPECT_EQ(IDNO, Reporter().Report(MessageKind::SizeLimitText, 1050,
                                      {.text = "a.jpg", .limitSource = &source}));
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(1u, boxes.size());
    const std::string grouped = std::string("1") + used + "048" + used + "576";
    EXPECT_NE(std::string::npos, boxes[0].text.find("превышать " + grouped + " байт"))
        << boxes[0].text;
}
