// program.cfg on disk: created when missing, read back, and replaced only by a complete write.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsCodec.h"
#include "core/win/SettingsFile.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/QvProcess.h"
#include "support/win/TempDir.h"

namespace {

// Lets the first write through whole and the second one half-way, as a disk filling up would.
class FailingSettingsFile : public SettingsFile {
public:
    using SettingsFile::SettingsFile;
    int writes = 0;

protected:
    uint32_t WriteChunk(FileAccess& file, const uint8_t* data, uint32_t size) override
    {
        if (writes++ == 0)
            return SettingsFile::WriteChunk(file, data, size);
        uint32_t written = SettingsFile::WriteChunk(file, data, size / 2);
        SetLastError(ERROR_DISK_FULL);
        return written;
    }
};

// Reads the first bytes and then fails, as a region locked by another program does.
class FailingReadSettingsFile : public SettingsFile {
public:
    using SettingsFile::SettingsFile;

protected:
    uint32_t ReadChunk(FileAccess& file, uint8_t* data, uint32_t size) override
    {
        if (reads++ == 0)
            return SettingsFile::ReadChunk(file, data, size < 3 ? size : 3);
        SetLastError(ERROR_LOCK_VIOLATION);
        return 0;
    }

private:
    int reads = 0;
};

void AddPhone(SettingsStore& store, const char* model, int favourites)
{
    auto* record = new LAST_SET_DEVICE();
    record->manufacturer = "SIEMENS";
    record->model = model;
    record->serialNumber = "351234567890123";
    record->lastFolder = "Pictures\\Отпуск";
    for (int i = 0; i < favourites; ++i) {
        auto* favourite = new LIST_FAVORITE();
        favourite->first = "Музыка";
        favourite->second = "Data\\Sounds";
        record->favourites.Append(favourite);
    }
    store.DeviceSettings.Append(record);
}

}  // namespace

TEST(SettingsFile, MissingFileIsCreatedEmptyAndDefaultsStay)
{
    TempDir dir;
    SettingsStore store;
    SettingsFile file(dir.File("program.cfg").c_str());
    ASSERT_TRUE(file.Load(store));
    EXPECT_TRUE(store.values.firstRun);
    EXPECT_EQ(store.values.progressX, 10000);
    EXPECT_EQ(GetFileAttributesA(dir.File("program.cfg").c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_TRUE(ReadFileBytes(dir.File("program.cfg")).empty());
}

TEST(SettingsFile, SavedRecordsComeBackAndClearFirstRun)
{
    TempDir dir;
    SettingsStore saved;
    saved.values.windowX = -20;
    saved.values.listViewStyle = 3;
    AddPhone(saved, "S65", 2);
    auto* excluded = new EXCLUDEPORTS();
    excluded->kind = 0;
    excluded->name = "Последовательный порт (COM3)";
    saved.ExcludedPorts.Append(excluded);
    SettingsFile file(dir.File("program.cfg").c_str());
    ASSERT_TRUE(file.Save(saved));

    SettingsStore loaded;
    ASSERT_TRUE(file.Load(loaded));
    EXPECT_FALSE(loaded.values.firstRun);
    EXPECT_EQ(loaded.values.windowX, -20);
    EXPECT_EQ(loaded.values.listViewStyle, 3);
    ASSERT_EQ(loaded.DeviceSettings.Count(), 1u);
    EXPECT_STREQ(loaded.DeviceSettings.Get(0)->lastFolder.CStr(), "Pictures\\Отпуск");
    EXPECT_EQ(loaded.DeviceSettings.Get(0)->favourites.Count(), 2u);
    ASSERT_EQ(loaded.ExcludedPorts.Count(), 1u);
    EXPECT_STREQ(loaded.ExcludedPorts.Get(0)->name.CStr(), "Последовательный порт (COM3)");
    EXPECT_EQ(ReadFileBytes(dir.File("program.cfg")), EncodeSettings(saved));
}

TEST(SettingsFile, ShorterContentLeavesNoOldBytesBehind)
{
    TempDir dir;
    SettingsFile file(dir.File("program.cfg").c_str());
    SettingsStore big;
    for (int i = 0; i < 20; ++i)
        AddPhone(big, "S65", 3);
    ASSERT_TRUE(file.Save(big));
    SettingsStore small;
    ASSERT_TRUE(file.Save(small));
    EXPECT_EQ(ReadFileBytes(dir.File("program.cfg")), EncodeSettings(small));
}

TEST(SettingsFile, WriteFailingHalfWayKeepsThePreviousFileAndReportsTheError)
{
    TempDir dir;
    const std::string path = dir.File("program.cfg");
    SettingsStore before;
    for (int i = 0; i < 200; ++i)
        AddPhone(before, "ME45", 1);  // well over one write chunk
    ASSERT_TRUE(SettingsFile(path.c_str()).Save(before));
    const std::vector<uint8_t> original = ReadFileBytes(path);
    ASSERT_GT(original.size(), 8192u);

    SettingsStore after;
    for (int i = 0; i < 300; ++i)
        AddPhone(after, "CX65", 2);
    MessageBoxRecorder boxes(MessageReporter::kOk);
    FailingSettingsFile failing(path.c_str());
    EXPECT_FALSE(failing.Save(after));
    EXPECT_EQ(failing.writes, 2);

    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(GetFileAttributesA(failing.TemporaryPath().CStr()), INVALID_FILE_ATTRIBUTES);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 0x10u);
    EXPECT_EQ(shown[0].caption, "QV - Ошибка");
    // The system's text for a full disk, whatever its wording.
    char expected[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_DISK_FULL,
                   LANG_USER_DEFAULT, expected, sizeof expected, nullptr);
    EXPECT_EQ(shown[0].text, expected);
}

TEST(SettingsFile, CutFileKeepsWhatWasReadBeforeTheCut)
{
    TempDir dir;
    const std::string path = dir.File("program.cfg");
    SettingsStore saved;
    saved.values.scanIrDA = false;
    saved.values.windowY = 77;
    AddPhone(saved, "S65", 0);
    std::vector<uint8_t> bytes = EncodeSettings(saved);
    bytes.resize(3 + 2 + 4 + 44 + 5);  // into tag 11
    ASSERT_TRUE(WriteFileBytes(path, bytes));

    SettingsStore loaded;
    ASSERT_TRUE(SettingsFile(path.c_str()).Load(loaded));
    EXPECT_FALSE(loaded.values.scanIrDA);
    EXPECT_EQ(loaded.values.windowY, 77);
    EXPECT_EQ(loaded.DeviceSettings.Count(), 0u);
    EXPECT_FALSE(loaded.values.firstRun);
}

TEST(SettingsFile, UnwritableFolderReportsAndLeavesNothing)
{
    MessageBoxRecorder boxes(MessageReporter::kOk);
    SettingsStore store;
    SettingsFile file("Z:\\no\\such\\folder\\program.cfg");
    EXPECT_FALSE(file.Save(store));
    EXPECT_FALSE(file.Load(store));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST(SettingsFile, FileThatFailsToReadIsNotWrittenOver)
{
    TempDir dir;
    const std::string path = dir.File("program.cfg");
    SettingsStore saved;
    AddPhone(saved, "S65", 1);
    const std::vector<uint8_t> original = EncodeSettings(saved);
    ASSERT_TRUE(WriteFileBytes(path, original));

    MessageBoxRecorder boxes(MessageReporter::kOk);
    FailingReadSettingsFile file(path.c_str());
    SettingsStore store;
    EXPECT_FALSE(file.Load(store));
    EXPECT_EQ(store.DeviceSettings.Count(), 0u);
    EXPECT_TRUE(store.values.firstRun);  // the scan opens no port it knows nothing about

    EXPECT_FALSE(file.Save(store));
    EXPECT_EQ(ReadFileBytes(path), original);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 2u);
    char notSaved[512] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_SETTINGS_NOT_SAVED, notSaved, sizeof notSaved);
    EXPECT_EQ(shown[1].text, notSaved);
    EXPECT_EQ(shown[1].style, 0x10u);
}
