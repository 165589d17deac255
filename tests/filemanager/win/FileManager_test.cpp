// The file manager as a user meets it, against simulated phones: browsing, making, renaming
// and deleting on an OBEX phone and on a Samsung file system, the last folder coming back, a
// listing cancelled or cut short by the phone going away, and a phone whose listing holds
// names that are paths.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <vector>

#include "filemanager/win/FileManagerWindow.h"
#include "support/MessageBoxRecorder.h"
#include "DesktopFiles.h"
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

// A pixel at the left edge of a button as it paints itself over black.
COLORREF PaintedEdge(HWND button)
{
    RECT r{};
    GetClientRect(button, &r);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF pixel = GetPixel(dc, 1, r.bottom / 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixel;
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
    // The strip's buttons paint over the strip's own background.
    EXPECT_NE(PaintedEdge(rig.Fm().pathLine.favouritesButton.Handle()), RGB(0, 0, 0));
    const int note = rig.Fm().listView.FindRow("заметка.txt");
    EXPECT_STREQ(rig.Fm().listView.ItemText(note, 1).CStr(), "5");
    EXPECT_NE(std::string(rig.Fm().listView.ItemText(note, 2).CStr()).find(':'), std::string::npos);
    EXPECT_EQ(rig.status.text, "Выделено объектов: 1");  // the first row is selected
    EXPECT_EQ(rig.status.memory, std::to_string(16777216 - 1507) + "/16777216");
    fm_test::PutOnClipboard(rig.main.Handle(), {L"C:\\a.txt"});
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

TEST(FileManagerObex, FolderTreeDeleteAsksAboutEachFailureAndStopsAtNo)
{
    MessageBoxRecorder boxes;
    // The phone refuses the first delete it is asked for.
    Rig rig({"--profile", "siemens", "--obex-fail", "PUT=0xC3:1"});
    rig.tree.Folder("Альбом");
    rig.tree.Folder("Альбом\\Вложенная");
    rig.tree.File("Альбом\\Вложенная\\3.jpg", "3");
    rig.tree.File("Альбом\\Вложенная\\4.jpg", "4");
    rig.tree.File("Альбом\\1.jpg", "1");
    rig.tree.File("рядом.txt", "stays");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();

    // 3.jpg fails: "Да" goes on with 4.jpg; its folder is not empty then: "Нет" ends it all.
    boxes.AnswerNext(MessageReporter::kYes);
    boxes.AnswerNext(MessageReporter::kNo);
    {
        DialogAnswerer yes("Подтверждение удаления папки", IDYES);
        ASSERT_TRUE(rig.Select("Альбом"));
        rig.Command(IDM_DELETE);
        yes.Join();
        EXPECT_EQ(yes.text, "Вы действительно хотите удалить папку «Альбом»\nи всё её содержимое?");
    }
    ASSERT_TRUE(rig.WaitIdle());
    const std::vector<RecordedBox> asked = boxes.Boxes();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Ошибка удаления файла «3.jpg».\nПродолжить операцию для других объектов?");
    EXPECT_EQ(asked[1].text, "Ошибка удаления файла «Вложенная».\nПродолжить операцию для других объектов?");
    EXPECT_EQ(asked[0].owner, rig.Fm().Handle());
    EXPECT_TRUE(rig.tree.Exists("Альбом\\Вложенная\\3.jpg"));
    EXPECT_FALSE(rig.tree.Exists("Альбом\\Вложенная\\4.jpg"));
    EXPECT_TRUE(rig.tree.Exists("Альбом\\1.jpg"));  // never reached after "Нет"
    EXPECT_EQ(rig.Rows(), (Rows{"Альбом", "рядом.txt"}));
    EXPECT_EQ(rig.PathLine(), "SIEMENS:");

    // Once more, now that the phone deletes everything: the whole tree goes, nothing else.
    boxes.Clear();
    {
        DialogAnswerer yes("Подтверждение удаления папки", IDYES);
        ASSERT_TRUE(rig.Select("Альбом"));
        rig.Key(VK_DELETE);
    }
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(rig.tree.Exists("Альбом"));
    EXPECT_EQ(rig.tree.Read("рядом.txt"), "stays");
    EXPECT_EQ(rig.Rows(), (Rows{"рядом.txt"}));
}

TEST(FileManagerObex, LastFolderComesBackWithThePhone)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.Folder("Фото");
    rig.tree.Folder("Фото\\Лето");
    rig.tree.File("Фото\\Лето\\море.jpg", "sea");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_TRUE(rig.Select("Фото"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    ASSERT_TRUE(rig.Select("Лето"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    ASSERT_EQ(rig.PathLine(), "SIEMENS:Фото\\Лето");

    // The port goes and the phone comes back: its record brings the folder back.
    rig.Disconnect();
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.PathLine(), "SIEMENS:Фото\\Лето");
    EXPECT_EQ(rig.Rows(), (Rows{"море.jpg"}));
    EXPECT_TRUE(boxes.Boxes().empty());

    // A folder that is gone meanwhile is reported, and the phone's top is shown.
    rig.Disconnect();
    DeleteFileA(rig.tree.Win("Фото\\Лето\\море.jpg").c_str());
    RemoveDirectoryA(rig.tree.Win("Фото\\Лето").c_str());
    ASSERT_TRUE(rig.Open());
    const std::vector<RecordedBox> asked = boxes.Boxes();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Не удалось перейдти в папку «Фото\\Лето».\nБудет произведен переход в начало.");
    EXPECT_EQ(rig.PathLine(), "SIEMENS:");
    EXPECT_EQ(rig.Rows(), (Rows{"Фото"}));
}

TEST(FileManagerObex, SlowListingCancelledThenCutShortByThePhoneGoing)
{
    MessageBoxRecorder boxes;
    // Every answer of the phone takes 300 ms: a listing of many packets takes seconds.
    Rig rig({"--profile", "siemens", "--delay", "300"});
    for (int i = 0; i < 60; ++i)
        rig.tree.File("снимок_" + std::to_string(1000 + i) + ".jpg", "x");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_EQ(rig.Rows().size(), 60u);

    // Cancel in the wait panel ends the listing between two of its requests.
    rig.events.clear();
    rig.Command(IDM_REFRESH);
    HWND panel = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        panel = rig.Fm().waitDialog.Handle();
        return panel != nullptr && IsWindowVisible(panel);
    }));
    HWND cancel = GetDlgItem(panel, IDCANCEL);
    ASSERT_TRUE(IsWindowEnabled(cancel));  // usable while the list is switched off
    EXPECT_FALSE(IsWindowEnabled(rig.Fm().listView.Handle()));
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 0"}));
    EXPECT_TRUE(IsWindowEnabled(rig.Fm().listView.Handle()));
    // The phone still answers the next listing in full.
    rig.Key(VK_F5);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.Rows().size(), 60u);

    // The port goes in the middle of a listing: the worker ends before the session and the
    // window go.
    rig.events.clear();
    rig.Command(IDM_REFRESH);
    ASSERT_TRUE(rig.Fm().IsWorking());
    rig.Disconnect();
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 0", "window gone"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerObex, ListedNamesThatArePathsAreNeitherEnteredNorDeleted)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--listing-extra", "Hostile=../", "--listing-extra", "Hostile=a\\b/",
             "--listing-extra", "Hostile=/"});
    rig.tree.Folder("Hostile");
    rig.tree.File("Hostile\\x.txt", "x");
    rig.tree.Folder("Outside");
    rig.tree.File("Outside\\keep.txt", "keep");
    rig.tree.Folder("a");
    rig.tree.Folder("a\\b");
    rig.tree.File("a\\b\\victim.txt", "victim");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_TRUE(rig.Select("Hostile"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    ASSERT_EQ(rig.PathLine(), "SIEMENS:Hostile");
    const Rows inside = rig.Rows();
    EXPECT_EQ(inside, (Rows{"", "..", "a\\b", "x.txt"}));

    // Opening such a name goes nowhere.
    for (const char* name : {"..", "a\\b"}) {
        ASSERT_TRUE(rig.Select(name));
        rig.Key(VK_RETURN);
        ASSERT_TRUE(rig.WaitIdle());
        EXPECT_EQ(rig.PathLine(), "SIEMENS:Hostile") << name;
        EXPECT_EQ(rig.Rows(), inside) << name;
    }

    // Deleting the folder asks about each of them and leaves everything outside it alone.
    rig.Key(VK_BACK);
    ASSERT_TRUE(rig.WaitIdle());
    {
        DialogAnswerer yes("Подтверждение удаления папки", IDYES);
        ASSERT_TRUE(rig.Select("Hostile"));
        rig.Key(VK_DELETE);
    }
    ASSERT_TRUE(rig.WaitIdle());
    std::vector<std::string> asked;
    for (const RecordedBox& box : boxes.Boxes())
        asked.push_back(box.text.substr(0, box.text.find('\n')));
    EXPECT_EQ(asked, (Rows{"Ошибка удаления файла «..».", "Ошибка удаления файла «a\\b».",
                           "Ошибка удаления файла «»."}));
    EXPECT_FALSE(rig.tree.Exists("Hostile\\x.txt"));
    EXPECT_EQ(rig.tree.Read("Outside\\keep.txt"), "keep");
    EXPECT_EQ(rig.tree.Read("a\\b\\victim.txt"), "victim");
    EXPECT_EQ(rig.PathLine(), "SIEMENS:");
}

TEST(FileManagerSamsung, BrowseAndDeleteOnAFileSystemThatTakesNoFiles)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "samsung"});
    rig.tree.Folder("Sounds");
    rig.tree.File("Sounds\\звонок.mid", std::string(700, 'm'));
    rig.tree.File("Sounds\\тишина.mid", "s");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    EXPECT_EQ(rig.PathLine(), "SAMSUNG:");
    ASSERT_TRUE(rig.Select("Sounds"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.Rows(), (Rows{"звонок.mid", "тишина.mid"}));
    EXPECT_EQ(rig.PathLine(), "SAMSUNG:Sounds");

    // No folder is made, nothing renamed, no desktop file offered for pasting.
    rig.Command(IDM_NEW_FOLDER);
    EXPECT_EQ(ListView_GetEditControl(rig.Fm().listView.Handle()), nullptr);
    ASSERT_TRUE(rig.Select("звонок.mid"));
    SendMessageA(rig.Fm().listView.Handle(), WM_KEYUP, VK_F2, 0);
    EXPECT_EQ(ListView_GetEditControl(rig.Fm().listView.Handle()), nullptr);
    fm_test::PutOnClipboard(rig.main.Handle(), {L"C:\\a.txt"});
    rig.Fm().UpdateStatus();
    EXPECT_FALSE(rig.commands.paste);
    EXPECT_FALSE(rig.commands.rename);
    EXPECT_TRUE(rig.commands.remove);
    EXPECT_EQ(rig.status.text, "Выделено объектов: 1");
    EXPECT_EQ(rig.status.size, 700);

    {
        DialogAnswerer yes("Подтверждение удаления файла", IDYES);
        rig.Key(VK_DELETE);
    }
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_FALSE(rig.tree.Exists("Sounds\\звонок.mid"));
    EXPECT_EQ(rig.Rows(), (Rows{"тишина.mid"}));
    rig.Key(VK_BACK);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.PathLine(), "SAMSUNG:");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerObex, PhoneWithoutFileAccessSendsTheViewAway)
{
    MessageBoxRecorder boxes;
    // A generic phone on a cable has no way into OBEX.
    Rig rig({"--profile", "generic"});
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    EXPECT_EQ(rig.events, (Rows{"busy", "switch 0", "idle 0"}));
    EXPECT_FALSE(rig.Fm().HasSession());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerObex, UploadRunsOnItsWorkerAsksOnTheWindowAndRereads)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.File("песня.mp3", "old");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    const FolderObject existing = *rig.Fm().listView.EntryAt(0);
    FileInformation local;
    local.path = "C:\\песня.mp3";
    local.findData.sizeLow = 3;
    rig.events.clear();

    std::atomic<int> answer{0};
    std::atomic<DWORD> uploadThread{0};
    DialogAnswerer yes("Подтверждение замены файла", IDYES);
    ASSERT_TRUE(rig.Fm().StartUpload([&](CopyFileThread&) {
        uploadThread.store(GetCurrentThreadId());
        answer.store(rig.Fm().AskReplace(existing, local, 1));
        rig.tree.File("новая.mp3", "new");  // what an upload leaves on the phone
    }));
    // The question is a dialog of the window's thread, which keeps handling messages.
    ASSERT_TRUE(PumpUntil([&] { return yes.answered.load(); }));
    ASSERT_TRUE(rig.WaitIdle());
    yes.Join();
    EXPECT_EQ(answer.load(), kReplaceYes);
    EXPECT_NE(uploadThread.load(), GetCurrentThreadId());
    EXPECT_EQ(yes.visibleButtons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(rig.Rows(), (Rows{"новая.mp3", "песня.mp3"}));
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 2"}));
    EXPECT_TRUE(PumpUntil([&] { return !rig.Fm().progressDialog->IsOpen(); }));
    EXPECT_TRUE(boxes.Boxes().empty());
}
