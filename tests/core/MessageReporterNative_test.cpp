#include <cstring>

#include "core/FileAccess.h"
#include "support/MessageReporterContract.h"

TEST(MessageReporterNative, SystemErrorWithCodeZeroShowsTheFailureOfTheLastCall)
{
    MessageBoxRecorder recorder(MessageReporter::kOk);
    FileAccess f;
    ASSERT_FALSE(f.Open("/nonexistent-qv-folder/file.txt", FileAccess::kGenericRead, 0,
                        FileAccess::kOpenExisting));
    Reporter().Report(MessageKind::SystemError, 0, {.prefixId = 1001, .text = "file.txt"});
    const auto boxes = recorder.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(std::string("Ошибка открытия:file.txt\n") + std::strerror(ENOENT), boxes[0].text);
}

TEST(MessageReporterNative, WithoutATestBoxNothingIsShown)
{
    EXPECT_EQ(MessageReporter::kNothingShown,
              Reporter().Report(MessageKind::ResourceText, 1010, {.text = "f"}));
}
