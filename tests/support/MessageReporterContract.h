// Texts, styles and results of MessageReporter that both builds share (the string table and
// the composition rules). Included by exactly one test file per test binary.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/ByteFormat.h"
#include "core/Locale.h"
#include "core/MessagePlatform.h"
#include "core/MessageReporter.h"
#include "support/MessageBoxRecorder.h"

namespace message_reporter_contract {

const std::string kCaption = "QV - Ошибка";

inline WindowHandle FakeWindow(uintptr_t value) { return reinterpret_cast<WindowHandle>(value); }

class FakeLimitSource : public SizeLimitSource {
public:
    FakeLimitSource(const char* device, uint32_t limit) : device(device), limit(limit) {}
    GString DeviceDisplayName() override { return GString(device); }
    uint32_t SizeLimit() override { return limit; }
    void ClearError() override { errorCode = 0; }

    const char* device;
    uint32_t limit;
    uint32_t errorCode = 1050;
};

// Restores the program's thousands separator after a test that changes it.
class SeparatorGuard {
public:
    SeparatorGuard() : saved(ThousandsSeparator()) {}
    ~SeparatorGuard() { SetThousandsSeparator(saved); }

private:
    char saved;
};

}  // namespace message_reporter_contract

using namespace message_reporter_contract;

TEST(MessageReporterContract, ResourceTextsAndTheirBoxes)
{
    struct Case {
        uint32_t id;
        const char* arg;
        const char* text;
        unsigned style;
    };
    const Case cases[] = {
        {1004, "a.txt", "Ошибка удаления файла «a.txt».\nПродолжить операцию для других объектов?", 0x124},
        {1007, "Фото", "Не удалось перейдти в папку «Фото».\nПродолжить операцию для других папок?", 0x124},
        {1008, "a.txt", "Не удалось заменить файл «a.txt».\nОшибка при удалении.\nПродолжить операцию для других файлов?", 0x124},
        {1009, "new", "Не удалось создать папку «new».\nПродолжить операцию для других папок?", 0x124},
        {1010, "a.txt", "Ошибка копирования файла «a.txt».\nПродолжить операцию для других файлов?", 0x24},
        {1011, "Sounds", "Не удалось перейдти в папку «Sounds».\nБудет произведен переход в начало.", 0x30},
        {1101, nullptr, "Ошибка инициализации COM (CoInitialize (NULL))", 0x10},
        {1001, "ignored", "Ошибка открытия:", 0x10},
        {100, nullptr, "Quorvan", 0x10},
        {101, nullptr, "QV - Ошибка", 0x10},
        {102, nullptr, "QV - Предупреждение", 0x10},
        {103, nullptr, "QV - Подключение", 0x10},
        {104, nullptr, "QV - Удаление", 0x10},
        // The size-limit text shown as a plain resource text is not formatted.
        {1050, "x", "Ошибка копирования файла «%s».\n«%s» ограничивает размер принимаемого файла.\nРазмер не должен превышать %s байт.\nПродолжить операцию для других файлов?", 0x10},
        // A question without an argument gets an empty name, never stray bytes.
        {1010, nullptr, "Ошибка копирования файла «».\nПродолжить операцию для других файлов?", 0x24},
        // A name holding format characters is text, not a format.
        {1004, "%s%n%d", "Ошибка удаления файла «%s%n%d».\nПродолжить операцию для других объектов?", 0x124},
    };
    MessageBoxRecorder recorder(MessageReporter::kNo);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        recorder.Clear();
        EXPECT_EQ(MessageReporter::kNo,
                  Reporter().ReportFor(FakeWindow(0x1234), MessageKind::ResourceText, c.id,
                                       {.text = c.arg}));
        const auto boxes = recorder.Boxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(c.text, boxes[0].text);
        EXPECT_EQ(c.style, boxes[0].style);
        EXPECT_EQ(kCaption, boxes[0].caption);
        EXPECT_EQ(FakeWindow(0x1234), boxes[0].owner);
    }
}

TEST(MessageReporterContract, ReportUsesTheDefaultOwnerAndReturnsTheAnswer)
{
    MessageBoxRecorder recorder;
    const WindowHandle saved = Reporter().DefaultOwner();
    Reporter().SetDefaultOwner(FakeWindow(0x5678));
    recorder.AnswerNext(MessageReporter::kYes);
    recorder.AnswerNext(MessageReporter::kNo);
    EXPECT_EQ(MessageReporter::kYes, Reporter().Report(MessageKind::ResourceText, 1007, {.text = "a"}));
    EXPECT_EQ(MessageReporter::kNo, Reporter().Report(MessageKind::ResourceText, 1007, {.text = "b"}));
    Reporter().SetDefaultOwner(saved);
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(FakeWindow(0x5678), boxes[0].owner);
    EXPECT_EQ(FakeWindow(0x5678), boxes[1].owner);
}

TEST(MessageReporterContract, SystemErrorIsPrefixNameAndSystemText)
{
    const std::string system2 = MessagePlatform::SystemText(2).CStr();
    const std::string system5 = MessagePlatform::SystemText(5).CStr();
    ASSERT_FALSE(system2.empty());
    struct Case {
        uint32_t prefixId;
        const char* name;
        uint32_t code;
        std::string text;
    };
    const Case cases[] = {
        {1001, "COM5", 2, "Ошибка открытия:COM5\n" + system2},
        {1001, nullptr, 5, "Ошибка открытия:" + system5},
        {0, "name", 2, "name\n" + system2},
        {0, "", 2, "\n" + system2},
        {0, nullptr, 2, system2},
        {9999, "n", 2, "n\n" + system2},  // a prefix that does not exist is left out
    };
    MessageBoxRecorder recorder(MessageReporter::kOk);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        recorder.Clear();
        EXPECT_EQ(MessageReporter::kOk,
                  Reporter().Report(MessageKind::SystemError, c.code,
                                    {.prefixId = c.prefixId, .text = c.name}));
        const auto boxes = recorder.Boxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(c.text, boxes[0].text);
        EXPECT_EQ(0x10u, boxes[0].style);
    }
}

TEST(MessageReporterContract, MissingResourceReportsTheFailureThenAnEmptyBox)
{
    MessageBoxRecorder recorder(MessageReporter::kOk);
    for (uint32_t id : {1005u, 7u, 65535u}) {
        SCOPED_TRACE(id);
        recorder.Clear();
        EXPECT_EQ(MessageReporter::kOk,
                  Reporter().ReportFor(FakeWindow(0x42), MessageKind::ResourceText, id,
                                       {.text = "arg"}));
        const auto boxes = recorder.Boxes();
        ASSERT_EQ(2u, boxes.size());
        const std::string first = "Ошибка чтения строкового ресурса: #" + std::to_string(id) + "\n";
        EXPECT_EQ(first, boxes[0].text.substr(0, first.size()));
        EXPECT_EQ(0x10u, boxes[0].style);
        EXPECT_EQ(FakeWindow(0x42), boxes[0].owner);
        EXPECT_EQ("", boxes[1].text);
        EXPECT_EQ(0x10u, boxes[1].style);
    }
    // The size-limit kind shows the failure as its own text, without a second box.
    recorder.Clear();
    Reporter().Report(MessageKind::SizeLimitText, 1051, {.text = "f"});
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST(MessageReporterContract, SizeLimitQuestionNamesFileDeviceAndGroupedLimit)
{
    SeparatorGuard guard;
    struct Case {
        char separator;
        uint32_t limit;
        std::string shown;
    };
    const char programs = ThousandsSeparator();
    const Case cases[] = {
        {programs, 1048576, std::string("1") + programs + "048" + programs + "576"},
        {'.', 1048576, "1.048.576"},
        {programs, 999, "999"},
        {programs, 0, "0"},
        {programs, 4294967295u, std::string("4") + programs + "294" + programs + "967" + programs + "295"},
    };
    MessageBoxRecorder recorder(MessageReporter::kYes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        SetThousandsSeparator(c.separator);
        recorder.Clear();
        FakeLimitSource source("SGH-E900", c.limit);
        EXPECT_EQ(MessageReporter::kYes,
                  Reporter().ReportFor(nullptr, MessageKind::SizeLimitText, 1050,
                                       {.text = "song.mp3", .limitSource = &source}));
        const auto boxes = recorder.Boxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Ошибка копирования файла «song.mp3».\n«SGH-E900» ограничивает размер "
                  "принимаемого файла.\nРазмер не должен превышать " + c.shown +
                      " байт.\nПродолжить операцию для других файлов?",
                  boxes[0].text);
        EXPECT_EQ(0x24u, boxes[0].style);
        EXPECT_EQ(0u, source.errorCode) << "the question clears the object's error";
    }
}

TEST(MessageReporterContract, SizeLimitKindShowsNothingForOtherCodes)
{
    MessageBoxRecorder recorder;
    // An OBEX response code left by a failed upload, and another string id.
    for (uint32_t code : {0xC4u, 1010u, 0u}) {
        SCOPED_TRACE(code);
        FakeLimitSource source("dev", 10);
        EXPECT_EQ(MessageReporter::kNothingShown,
                  Reporter().Report(MessageKind::SizeLimitText, code,
                                    {.text = "f", .limitSource = &source}));
        EXPECT_EQ(1050u, source.errorCode);
    }
    EXPECT_TRUE(recorder.Boxes().empty());
}

// A box that reads its text only after a pause, while the other thread composes its own.
struct SlowBoxLog {
    static int Show(WindowHandle, const char* text, const char* caption, unsigned)
    {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::lock_guard<std::mutex> guard(lock);
        texts.push_back(std::string(text) + "|" + caption);
        return MessageReporter::kYes;
    }
    static inline std::mutex lock;
    static inline std::vector<std::string> texts;
};

TEST(MessageReporterContract, TwoThreadsReportingAtOnceGetTheirOwnTexts)
{
    SlowBoxLog::texts.clear();
    const auto previous = MessageReporter::SetMessageBoxForTesting(SlowBoxLog::Show);
    constexpr int kRounds = 200;
    auto reportMany = [](const char* name) {
        for (int i = 0; i < kRounds; ++i)
            Reporter().Report(MessageKind::ResourceText, 1010, {.text = name});
    };
    std::thread a(reportMany, "alpha-file.txt");
    std::thread b(reportMany, "второй файл.dat");
    a.join();
    b.join();
    MessageReporter::SetMessageBoxForTesting(previous);
    const std::string textA = "Ошибка копирования файла «alpha-file.txt».\nПродолжить операцию для других файлов?|" + kCaption;
    const std::string textB = "Ошибка копирования файла «второй файл.dat».\nПродолжить операцию для других файлов?|" + kCaption;
    int seenA = 0;
    int seenB = 0;
    for (const std::string& text : SlowBoxLog::texts) {
        seenA += text == textA;
        seenB += text == textB;
    }
    EXPECT_EQ(kRounds, seenA);
    EXPECT_EQ(kRounds, seenB);
}
