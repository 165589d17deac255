// The delete walk over an in-memory phone: what is deleted, what is asked, and that nothing
// outside the selection is touched whatever the phone lists or answers.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "filemanager/DeleteWalk.h"
#include "support/MemoryPhone.h"
#include "support/ScriptedQuestions.h"

namespace {

class RecordingDelete : public DeleteProgress {
public:
    void ShowObject(const GString& name) override { shown.push_back(name.CStr()); }
    bool StopRequested() override { return false; }
    std::vector<std::string> shown;
};

struct DeleteRig {
    // Deletes the named entries of the phone's current folder, as the window hands them over.
    DeleteWalk::Outcome Delete(const std::vector<std::string>& names)
    {
        phone.ReadFolder(nullptr);
        std::vector<FolderObject> selection;
        ListIterator<FolderObject> it(phone.entries);
        for (it.First(); !it.IsDone(); it.Next()) {
            for (const std::string& name : names) {
                if (name == it.CurrentItem()->name.CStr())
                    selection.push_back(*it.CurrentItem());
            }
        }
        DeleteWalk walk(phone, questions, progress);
        return walk.Run(selection);
    }
    MemoryPhone phone;
    ScriptedQuestions questions;
    RecordingDelete progress;
};

}  // namespace

TEST(DeleteWalk, TreeGoesDeepestFirstAndAFailureIsAskedOnce)
{
    DeleteRig rig;
    rig.phone.File("Фото/2023/a.jpg", "a");
    rig.phone.File("Фото/2023/b.jpg", "b");
    rig.phone.Folder("Фото/пусто");
    rig.phone.File("Фото/c.jpg", "c");
    rig.phone.File("Фото/Музыка/locked.mp3", "m").failDelete = true;
    rig.phone.File("keep.txt", "k");
    rig.phone.File("x.txt", "x");

    EXPECT_EQ(rig.Delete({"Фото", "x.txt"}), DeleteWalk::Outcome::Finished);

    // The locked file, its folder and the top folder fail once each; the rest is gone.
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{
                                       "1004 locked.mp3", "1004 Музыка", "1004 Фото"}));
    EXPECT_EQ(rig.phone.Tree(), (std::set<std::string>{"keep.txt", "Фото/", "Фото/Музыка/",
                                                       "Фото/Музыка/locked.mp3"}));
    EXPECT_EQ(rig.progress.shown.front(), "a.jpg");
    EXPECT_EQ(rig.progress.shown.back(), "x.txt");
    EXPECT_EQ(rig.phone.Cwd(), "");
}

TEST(DeleteWalk, NoAtAnyDepthEndsEverythingAndReturnsToTheStart)
{
    DeleteRig rig;
    rig.phone.File("A/B/locked", "").failDelete = true;
    rig.phone.File("A/B/later", "");
    rig.phone.File("z.txt", "");
    rig.questions.answers = {false};
    EXPECT_EQ(rig.Delete({"A", "z.txt"}), DeleteWalk::Outcome::Stopped);
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"1004 locked"}));
    EXPECT_TRUE(rig.phone.Exists("A/B/later"));
    EXPECT_TRUE(rig.phone.Exists("z.txt"));
    EXPECT_EQ(rig.phone.Cwd(), "");
}

TEST(DeleteWalk, HostileListedNamesAreNeverEnteredOrDeleted)
{
    DeleteRig rig;
    MemoryPhone::Node& victim = rig.phone.Folder("victim");
    rig.phone.Folder(victim, "..");
    rig.phone.File(victim, "..\\precious.txt", "");
    rig.phone.Folder(victim, "other\\inner");
    rig.phone.File(victim, "", "");
    rig.phone.File(victim, ".", "");
    rig.phone.File(victim, "ok.txt", "");
    rig.phone.File("other/inner/precious.txt", "p");
    rig.phone.File("precious.txt", "p");

    rig.Delete({"victim"});

    for (const std::string& call : rig.phone.calls) {
        // Only the victim's own safe names reach the phone.
        EXPECT_TRUE(call.rfind("cd ", 0) != 0 || call == "cd victim" || call == "cd \\") << call;
        EXPECT_TRUE(call.rfind("del ", 0) != 0 || call == "del victim|ok.txt" ||
                    call == "del |victim")
            << call;
    }
    EXPECT_TRUE(rig.phone.Exists("other/inner/precious.txt"));
    EXPECT_TRUE(rig.phone.Exists("precious.txt"));
    EXPECT_FALSE(rig.phone.Exists("victim/ok.txt"));
    EXPECT_EQ(rig.questions.asked, (std::vector<std::string>{"1004 ..", "1004 ..\\precious.txt",
                                                             "1004 other\\inner", "1004 ",
                                                             "1004 .", "1004 victim"}));
}

TEST(DeleteWalk, FolderStillListedAfterItsDeleteIsWalkedOnce)
{
    DeleteRig rig;
    rig.phone.Folder("A/ghost").keepOnDelete = true;
    rig.phone.File("A/ghost/f", "");
    rig.phone.File("A/g", "");

    EXPECT_EQ(rig.Delete({"A"}), DeleteWalk::Outcome::Finished);
    EXPECT_EQ(rig.phone.Calls("list A\\ghost").size(), 1u);
    EXPECT_EQ(rig.phone.Calls("list A").size(), 2u);  // A and A\ghost
    EXPECT_FALSE(rig.phone.Exists("A/g"));
}

TEST(DeleteWalk, FailedReturnStepDeletesNothingUntilThePhoneIsBack)
{
    struct Case {
        const char* what;
        int rootRefusals;
        int rootIgnored;
        bool refuseReentry;
        const char* failedStep;
    };
    const Case cases[] = {
        {"root refused", 1, 0, false, "1007 \\"},
        {"root answered yes but not reached", 0, 1, false, "1007 \\"},
        {"start folder refused on the way back", 0, 0, true, "1007 S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRig rig;
        rig.phone.File("S/A/inner.txt", "");
        rig.phone.File("S/A/A", "");
        rig.phone.File("S/later.txt", "");
        rig.phone.File("A", "root file, same name");
        rig.phone.File("later.txt", "root file, same name");
        rig.phone.GoTo("S");
        rig.phone.rootRefusals = c.rootRefusals;
        rig.phone.rootIgnored = c.rootIgnored;
        rig.phone.Find("S")->refuseEnter = c.refuseReentry;

        rig.Delete({"A", "later.txt"});

        ASSERT_FALSE(rig.questions.asked.empty());
        EXPECT_EQ(rig.questions.asked.front(), c.failedStep);
        for (const std::string& call : rig.phone.Calls("del "))
            EXPECT_EQ(call.rfind("del S", 0), 0u) << call;
        EXPECT_TRUE(rig.phone.Exists("A"));
        EXPECT_TRUE(rig.phone.Exists("later.txt"));
        EXPECT_FALSE(rig.phone.Exists("S/A/inner.txt"));
    }
}

TEST(DeleteWalk, FoldersBeyondTheDepthLimitFail)
{
    DeleteRig rig;
    std::string path = "top";
    for (uint32_t i = 0; i < DeleteWalk::kMaxDepth + 2; ++i)
        path += "/d";
    rig.phone.File(path + "/deep.txt", "");

    EXPECT_EQ(rig.Delete({"top"}), DeleteWalk::Outcome::Finished);
    size_t deepest = 0;
    for (const std::string& call : rig.phone.Calls("list "))
        deepest = std::max(deepest, call.size());
    // "list top" + "\\d" per level below it: the walk stops kMaxDepth levels down.
    EXPECT_EQ(deepest, std::string("list top").size() + 2 * (DeleteWalk::kMaxDepth - 1));
    ASSERT_EQ(rig.questions.asked.size(), DeleteWalk::kMaxDepth + 1);
    EXPECT_EQ(rig.questions.asked.front(), "1004 d");
    EXPECT_TRUE(rig.phone.Exists(path + "/deep.txt"));
}
