// A copy out of the phone as the desktop gets it: each file asked for by its own name in its
// own folder, the descriptor records, the bytes a reader may have before the phone's verdict,
// and what a move may delete afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "filemanager/FetchBuffer.h"
#include "filemanager/FileDescriptors.h"
#include "filemanager/OutgoingFiles.h"
#include "filemanager/PhoneFileFetch.h"
#include "support/MemoryPhone.h"
#include "support/ScriptedQuestions.h"

namespace {

PhoneItemSet Collect(MemoryPhone& phone, const std::vector<std::string>& names)
{
    phone.ReadFolder(nullptr);
    std::vector<FolderObject> selection;
    for (ListIterator<FolderObject> it(phone.entries); !it.IsDone(); it.Next()) {
        for (const std::string& name : names) {
            if (name == it.CurrentItem()->name.CStr())
                selection.push_back(*it.CurrentItem());
        }
    }
    ScriptedQuestions questions;
    return PhoneTreeWalk(phone, questions).Collect(selection);
}

std::string Text(const MemoryFileSink& sink)
{
    return std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size());
}

const PhoneItem* Item(const PhoneItemSet& set, const char* path)
{
    for (const PhoneItem& item : set.items) {
        if (item.PhonePath().Equals(path))
            return &item;
    }
    return nullptr;
}

uint32_t Get32(const std::vector<uint8_t>& block, size_t at)
{
    return block[at] | block[at + 1] << 8 | block[at + 2] << 16 | static_cast<uint32_t>(block[at + 3]) << 24;
}

}  // namespace

TEST(CopyOut, EachFileIsAskedForByItsNameInItsOwnFolder)
{
    MemoryPhone phone;
    phone.File("Card/Фото/2024/b.jpg", "bbb");
    phone.File("Card/Фото/a.jpg", "aaaa");
    phone.File("Card/Фото/nosize.txt", "size unknown").hasSize = false;
    phone.GoTo("Card");
    const PhoneItemSet set = Collect(phone, {"Фото"});
    phone.calls.clear();

    const std::pair<const char*, const char*> files[] = {
        {"Фото\\2024\\b.jpg", "Card/Фото/2024/b.jpg"},
        {"Фото\\a.jpg", "Card/Фото/a.jpg"},
        {"Фото\\nosize.txt", "Card/Фото/nosize.txt"},
    };
    for (const auto& [path, onPhone] : files) {
        const PhoneItem* item = Item(set, path);
        ASSERT_NE(item, nullptr) << path;
        MemoryFileSink sink;
        const FetchOutcome outcome = FetchPhoneFile(phone, "Card", *item, sink, nullptr);
        EXPECT_TRUE(outcome.whole) << path;
        EXPECT_FALSE(outcome.lost);
        EXPECT_EQ(Text(sink), phone.Find(onPhone)->content);
        EXPECT_EQ(phone.Cwd(), "Card");
    }
    EXPECT_EQ(phone.Calls("get "), (std::vector<std::string>{"get Card\\Фото\\2024|b.jpg", "get Card\\Фото|a.jpg",
                                                             "get Card\\Фото|nosize.txt"}));

    // A phone that cannot be brought back leaves the copy without a folder to name files in.
    phone.rootRefusals = 1;
    MemoryFileSink sink;
    const FetchOutcome outcome = FetchPhoneFile(phone, "Card", *Item(set, "Фото\\a.jpg"), sink, nullptr);
    EXPECT_TRUE(outcome.whole);
    EXPECT_TRUE(outcome.lost);
}

TEST(CopyOut, ReaderNeverHoldsTheWholeFileBeforeThePhoneSaysItIsWhole)
{
    MemoryPhone phone;
    phone.File("short.bin", std::string(2500, 's')).cutAfter = 1500;
    phone.File("big.bin", std::string(40, 'b'));
    const PhoneItemSet set = Collect(phone, {"short.bin", "big.bin"});

    // A cut line: while it came the reader could have all but the last byte that arrived,
    // and nothing once the file failed.
    FetchBuffer cut;
    EXPECT_FALSE(FetchPhoneFile(phone, "", *Item(set, "short.bin"), cut, nullptr).whole);
    EXPECT_EQ(cut.Size(), 1500u);
    EXPECT_EQ(cut.Readable(0), 1499u);
    cut.Finish(false);
    EXPECT_EQ(cut.CurrentState(), FetchBuffer::State::Failed);
    EXPECT_EQ(cut.Readable(0), 0u);

    // Fetched on another thread as the window does: the last byte waits for the verdict.
    FetchBuffer whole;
    std::thread fetcher([&] {
        const bool ok = FetchPhoneFile(phone, "", *Item(set, "big.bin"), whole, nullptr).whole;
        EXPECT_EQ(whole.Readable(0), 39u);
        whole.Finish(ok);
    });
    fetcher.join();
    EXPECT_EQ(whole.CurrentState(), FetchBuffer::State::Whole);
    char out[64] = {};
    EXPECT_EQ(whole.Take(0, reinterpret_cast<uint8_t*>(out), sizeof out), 40u);
    EXPECT_EQ(std::string(out), std::string(40, 'b'));

    // No room for the file: the read fails instead of giving an empty file.
    FetchBuffer small(10);
    EXPECT_FALSE(FetchPhoneFile(phone, "", *Item(set, "big.bin"), small, nullptr).whole);

    // The reader went away: the phone's transfer stops at the next block.
    FetchBuffer abandoned;
    abandoned.Abandon();
    EXPECT_FALSE(FetchPhoneFile(phone, "", *Item(set, "big.bin"), abandoned, nullptr).whole);
    abandoned.Finish(true);
    EXPECT_EQ(abandoned.CurrentState(), FetchBuffer::State::Failed);
}

TEST(CopyOut, DescriptorRecordsSayOnlyWhatThePhoneGave)
{
    PhoneItem folder;
    folder.descriptorName = "Фото";
    folder.isFolder = true;
    folder.hasTime = true;
    folder.time = SystemTime{2024, 5, 0, 17, 10, 30, 0, 0};
    PhoneItem dated = folder;
    dated.descriptorName = "Фото\\a.jpg";
    dated.isFolder = false;
    dated.hasSize = true;
    dated.size = 70000;
    PhoneItem bare;
    bare.descriptorName = "Фото\\b_c.txt";

    using namespace file_descriptor;
    const std::vector<uint8_t> block = BuildFileDescriptors({folder, dated, bare});
    ASSERT_EQ(block.size(), kCountSize + 3 * kRecordSize);
    EXPECT_EQ(Get32(block, 0), 3u);
    const size_t first = kCountSize, second = first + kRecordSize, third = second + kRecordSize;
    EXPECT_EQ(Get32(block, first + kFlagsAt), kHasAttributes | kHasWriteTime);
    EXPECT_EQ(Get32(block, first + kAttributesAt), kAttributeDirectory);
    EXPECT_EQ(Get32(block, second + kFlagsAt), kHasAttributes | kHasWriteTime | kHasFileSize);
    EXPECT_EQ(Get32(block, second + kAttributesAt), kAttributeNormal);
    EXPECT_EQ(Get32(block, second + kSizeLowAt), 70000u);
    EXPECT_NE(Get32(block, second + kWriteTimeAt + 4), 0u);
    // Neither date nor size: no time the desktop would show as 1601, no size of 0.
    EXPECT_EQ(Get32(block, third + kFlagsAt), kHasAttributes);
    EXPECT_EQ(Get32(block, third + kWriteTimeAt) | Get32(block, third + kWriteTimeAt + 4), 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[second + kNameAt]), "Фото\\a.jpg");

    // A date the calendar lacks is left out rather than made up.
    dated.time.month = 13;
    EXPECT_EQ(Get32(BuildFileDescriptors({dated}), kCountSize + kFlagsAt), kHasAttributes | kHasFileSize);
    // A name too long for a record is not cut into another name.
    bare.descriptorName = GString(std::string(260, 'n').c_str());
    EXPECT_TRUE(BuildFileDescriptors({folder, bare}).empty());
}

TEST(CopyOut, MoveDeletesOnlyWhatTheReceiverTookWhole)
{
    MemoryPhone phone;
    phone.File("taken.jpg", "t");
    phone.File("failed.jpg", "f");
    phone.File("Done/x.txt", "x");
    phone.File("Done/Sub/y.txt", "y");
    phone.File("Half/p.txt", "p");
    phone.File("Half/q.txt", "q");
    phone.Folder("Empty");
    phone.File("Long/" + std::string(256, 'n'), "n");
    OutgoingFiles files(Collect(phone, {"taken.jpg", "failed.jpg", "Done", "Half", "Empty", "Long"}), "");
    for (size_t i = 0; i < files.Items().size(); ++i) {
        const GString path = files.Items()[i].PhonePath();
        if (!path.Equals("failed.jpg") && !path.Equals("Half\\q.txt"))
            files.MarkDelivered(i);
    }
    EXPECT_FALSE(files.AllFilesDelivered());

    std::vector<std::string> moving;
    for (const FolderObject& entry : files.MoveSelection())
        moving.push_back(entry.name.CStr());
    // Long is left: the name inside it never went to the desktop.
    EXPECT_EQ(moving, (std::vector<std::string>{"taken.jpg", "Done", "Empty"}));
}
