// The window's decisions without a window: the end of a label edit, the confirmations' texts
// and the path line's layout.
#include <gtest/gtest.h>

#include <string>

#include "filemanager/FileManagerRules.h"

TEST(LabelEdit, NewFoldersAndRenamesNeverTakeANameThePhoneReadsAsAPath)
{
    const struct {
        const char* oldName;
        bool newFolder;
        const char* edited;  // null: the edit was cancelled
        LabelEditAction action;
        const char* name;
    } cases[] = {
        // A cancelled new folder is still made, under the placeholder's text.
        {kNewFolderName, true, nullptr, LabelEditAction::CreateFolder, kNewFolderName},
        {kNewFolderName, true, "Фото", LabelEditAction::CreateFolder, "Фото"},
        {kNewFolderName, true, "a\\b", LabelEditAction::Refuse, ""},
        {kNewFolderName, true, "..", LabelEditAction::Refuse, ""},
        {kNewFolderName, true, "", LabelEditAction::Refuse, ""},
        {"old.txt", false, nullptr, LabelEditAction::Keep, ""},
        {"old.txt", false, "old.txt", LabelEditAction::Keep, ""},
        {"old.txt", false, "новый.txt", LabelEditAction::Rename, "новый.txt"},
        {"old.txt", false, "../old.txt", LabelEditAction::Refuse, ""},
        {"old.txt", false, "a/b", LabelEditAction::Refuse, ""},
        {"..", false, "x", LabelEditAction::Refuse, ""},
    };
    for (const auto& c : cases) {
        const LabelEditDecision d = DecideLabelEdit(c.oldName, c.newFolder, c.edited);
        EXPECT_EQ(d.action, c.action) << c.oldName << " -> " << (c.edited ? c.edited : "(cancelled)");
        if (c.action == LabelEditAction::CreateFolder || c.action == LabelEditAction::Rename) {
            EXPECT_STREQ(d.name.CStr(), c.name);
        }
    }
    EXPECT_FALSE(MayEditLabel(".."));
    EXPECT_TRUE(MayEditLabel("..a"));
}

TEST(ConfirmationText, TheArgumentGoesInOnceAndIsNeverReadAsAFormat)
{
    EXPECT_STREQ(FillDialogText("Удалить «%s»?", "a%sb%n").CStr(), "Удалить «a%sb%n»?");
    EXPECT_STREQ(FillDialogText("объекты (%u шт.)? %s 100%%", "3").CStr(), "объекты (3 шт.)? %s 100%");
    EXPECT_STREQ(FillDialogText("без места", "x").CStr(), "без места");
}

TEST(PathLineLayout, ButtonsThenTheFieldWithIconAndText)
{
    const PathLineLayout l = LayOutPathLine(13, 50, 40, 400, TSize(16, 16));
    EXPECT_EQ(l.height, 26);
    EXPECT_EQ(l.up, TRect(1, 2, 53, 25));
    EXPECT_EQ(l.favourites, TRect(53, 2, 95, 25));
    EXPECT_EQ(l.field, TRect(96, 2, 398, 25));
    EXPECT_EQ(l.icon, TPoint(99, 5));
    EXPECT_EQ(l.textLeft, 117);
    // Narrower than the buttons: the field is empty, never inside out.
    const PathLineLayout narrow = LayOutPathLine(13, 50, 40, 60, TSize(16, 16));
    EXPECT_GE(narrow.field.Width(), 0);

    const RepaintStrips wider = StripsToRepaint(TRect(0, 0, 300, 26), TRect(0, 0, 400, 26));
    ASSERT_EQ(wider.count, 1);
    EXPECT_EQ(wider.strips[0], TRect(295, 0, 400, 26));
    const RepaintStrips taller = StripsToRepaint(TRect(0, 0, 400, 26), TRect(0, 0, 300, 30));
    ASSERT_EQ(taller.count, 2);
    EXPECT_EQ(taller.strips[0], TRect(295, 0, 300, 30));
    EXPECT_EQ(taller.strips[1], TRect(0, 23, 300, 30));
}
