// The records the desktop gets for a copy out of the phone: order, names, times and sizes,
// and what is left out when names, depth or the phone's folder changes go wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filemanager/PhoneTreeWalk.h"
#include "support/MemoryPhone.h"
#include "support/ScriptedQuestions.h"

namespace {

struct TreeRig {
    PhoneItemSet Copy(const std::vector<std::string>& names)
    {
        phone.ReadFolder(nullptr);
        std::vector<FolderObject> selection;
        ListIterator<FolderObject> it(phone.entries);
        for (const std::string& name : names) {
            for (it.First(); !it.IsDone(); it.Next()) {
                if (name == it.CurrentItem()->name.CStr())
                    selection.push_back(*it.CurrentItem());
            }
        }
        PhoneTreeWalk walk(phone, questions);
        return walk.Collect(selection);
    }
    MemoryPhone phone;
    ScriptedQuestions questions;
};

// "descriptor name <- phone path" per item.
std::vector<std::string> Described(const PhoneItemSet& set)
{
    std::vector<std::string> out;
    for (const PhoneItem& item : set.items)
        out.push_back(std::string(item.descriptorName.CStr()) + " <- " + item.PhonePath().CStr());
    return out;
}

}  // namespace

TEST(PhoneTreeWalk, SelectionFirstThenEachFolderAndItsSubtrees)
{
    TreeRig rig;
    rig.phone.File("Card/Фото/a.jpg", "aaaa");
    rig.phone.File("Card/Фото/2024/b.jpg", "bb");
    rig.phone.Folder("Card/Фото/пусто");
    rig.phone.File("Card/Фото/nodate.txt", "n").time = SystemTime{};
    rig.phone.File("Card/Фото/nosize.txt", "s").hasSize = false;
    rig.phone.File("Card/top.txt", "t");
    rig.phone.GoTo("Card");

    const PhoneItemSet set = rig.Copy({"Фото", "top.txt"});

    EXPECT_EQ(Described(set), (std::vector<std::string>{
                                  "Фото <- Фото", "top.txt <- top.txt",
                                  "Фото\\a.jpg <- Фото\\a.jpg", "Фото\\2024 <- Фото\\2024",
                                  "Фото\\пусто <- Фото\\пусто",
                                  "Фото\\nodate.txt <- Фото\\nodate.txt",
                                  "Фото\\nosize.txt <- Фото\\nosize.txt",
                                  "Фото\\2024\\b.jpg <- Фото\\2024\\b.jpg"}));
    EXPECT_TRUE(set.items[0].isFolder && set.items[0].complete);
    EXPECT_FALSE(set.items[5].hasTime);
    EXPECT_TRUE(set.items[6].hasTime);
    EXPECT_FALSE(set.items[6].hasSize);
    EXPECT_TRUE(set.items[2].hasSize);
    EXPECT_EQ(set.items[2].size, 4u);
    EXPECT_EQ(set.totalBytes, 4u + 1 + 1 + 2);
    EXPECT_TRUE(set.skipped.empty());
    EXPECT_EQ(rig.phone.Cwd(), "Card");
}

TEST(PhoneTreeWalk, HostileNamesStayInsideTheDropFolderAndAreAskedForAsListed)
{
    TreeRig rig;
    MemoryPhone::Node& box = rig.phone.Folder("box");
    rig.phone.File(box, "..\\..\\evil.bat", "x");
    rig.phone.File(box, "c:\\x*?.txt", "x");
    rig.phone.File(box, "", "x");
    rig.phone.Folder(box, "..");
    rig.phone.File("outside.txt", "o");

    const PhoneItemSet set = rig.Copy({"box"});

    EXPECT_EQ(Described(set), (std::vector<std::string>{
                                  "box <- box", "box\\.._.._evil.bat <- box\\..\\..\\evil.bat",
                                  "box\\c__x__.txt <- box\\c:\\x*?.txt"}));
    // The phone is asked under the real name, inside its own folder.
    EXPECT_EQ(std::string(set.items[1].phoneName.CStr()), "..\\..\\evil.bat");
    EXPECT_EQ(std::string(set.items[1].phoneFolder.CStr()), "box");
    ASSERT_EQ(set.skipped.size(), 2u);
    EXPECT_EQ(set.skipped[0].reason, SkipReason::UnsafeName);
    EXPECT_EQ(set.skipped[1].reason, SkipReason::UnsafeName);
    EXPECT_FALSE(set.items[0].complete);
    EXPECT_EQ(rig.phone.Calls("cd "), (std::vector<std::string>{"cd box", "cd \\"}));
}

TEST(PhoneTreeWalk, NamesThatMeetOnTheDesktopAreNumberedNotWrittenOverEachOther)
{
    TreeRig rig;
    MemoryPhone::Node& box = rig.phone.Folder("box");
    rig.phone.File(box, "a:b.txt", "1");
    rig.phone.File(box, "a_b.txt", "2");
    rig.phone.File(box, "A_B.TXT", "3");
    rig.phone.File(box, "a_b (2).txt", "4");
    rig.phone.File(box, "\xD4\xEE\xF2\xEE.jpg", "5");  // two names that differ in case only,
    rig.phone.File(box, "\xD4\xCE\xD2\xCE.jpg", "6");  // in the phone's Cyrillic code page
    rig.phone.Folder(box, "d:1");
    rig.phone.File("box/d_1/x.txt", "7");

    const PhoneItemSet set = rig.Copy({"box"});

    EXPECT_EQ(Described(set), (std::vector<std::string>{
                                  "box <- box", "box\\a_b.txt <- box\\a:b.txt",
                                  "box\\a_b (2).txt <- box\\a_b.txt",
                                  "box\\A_B (3).TXT <- box\\A_B.TXT",
                                  "box\\a_b (2) (2).txt <- box\\a_b (2).txt",
                                  "box\\\xD4\xEE\xF2\xEE.jpg <- box\\\xD4\xEE\xF2\xEE.jpg",
                                  "box\\\xD4\xCE\xD2\xCE (2).jpg <- box\\\xD4\xCE\xD2\xCE.jpg",
                                  "box\\d_1 <- box\\d:1", "box\\d_1 (2) <- box\\d_1",
                                  "box\\d_1 (2)\\x.txt <- box\\d_1\\x.txt"}));
}

TEST(PhoneTreeWalk, NameTooLongForTheDesktopIsLeftOutNotCut)
{
    TreeRig rig;
    const std::string longName(PhoneTreeWalk::kMaxDescriptorName - 2, 'n');  // "ab\\" + name
    rig.phone.File("ab/" + longName, "x");
    rig.phone.File("ab/" + longName.substr(1), "fits");

    const PhoneItemSet set = rig.Copy({"ab"});

    ASSERT_EQ(set.items.size(), 2u);
    EXPECT_EQ(set.items[1].descriptorName.Length(), PhoneTreeWalk::kMaxDescriptorName);
    ASSERT_EQ(set.skipped.size(), 1u);
    EXPECT_EQ(set.skipped[0].reason, SkipReason::NameTooLong);
    // The folder is not whole: a move must not delete it.
    EXPECT_FALSE(set.items[0].complete);
}

TEST(PhoneTreeWalk, FailedReturnStopsAddingTrees)
{
    TreeRig rig;
    rig.phone.File("S/one/1.txt", "1");
    rig.phone.File("S/two/2.txt", "2");
    rig.phone.GoTo("S");
    rig.phone.Find("S")->refuseEnter = true;  // re-entering S after the first tree fails

    const PhoneItemSet set = rig.Copy({"one", "two"});

    EXPECT_TRUE(set.stopped);
    EXPECT_TRUE(rig.questions.asked.empty());
    EXPECT_EQ(Described(set), (std::vector<std::string>{"one <- one", "two <- two",
                                                         "one\\1.txt <- one\\1.txt"}));
    EXPECT_FALSE(set.items[1].complete);
    ASSERT_EQ(set.skipped.size(), 1u);
    EXPECT_EQ(set.skipped[0].reason, SkipReason::WrongFolder);
    EXPECT_EQ(std::string(set.skipped[0].name.CStr()), "S");
    EXPECT_TRUE(rig.phone.Calls("list S\\two").empty());
}

TEST(PhoneTreeWalk, RefusedFolderAsksAndNoStopsTheRest)
{
    TreeRig rig;
    rig.phone.File("a/1.txt", "1");
    rig.phone.File("b/2.txt", "2");
    rig.phone.Find("a")->refuseEnter = true;
    rig.questions.answers = {false};

    const PhoneItemSet set = rig.Copy({"a", "b"});

    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"1007 a"}));
    EXPECT_TRUE(set.stopped);
    EXPECT_EQ(set.items.size(), 2u);
    EXPECT_FALSE(set.items[0].complete);
    EXPECT_FALSE(set.items[1].complete);
}
