// Desktop files going up to simulated phones through the file manager as a user sends them:
// pasted trees with the replace questions, a drag from two folders dropped on the window,
// names the ANSI code page cannot hold, phones that take no files or limit their size.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "DesktopFiles.h"
#include "FileManagerRig.h"
#include "support/MessageBoxRecorder.h"
#include "transport/Socket.h"

using fm_test::Desktop;
using fm_test::DragOnto;
using fm_test::Paths;
using fm_test::PutOnClipboard;
using fm_test::Rig;
using fm_test::Wide;
using Rows = std::vector<std::string>;

namespace {

// Answers the dialogs with these captions in turn, as a user would, from one thread started
// before what asks: a question can come up inside any call that lets the window's messages run.
class Answers {
public:
    explicit Answers(std::vector<std::pair<const char*, int>> steps)
        : count(steps.size()),
          worker([this, steps] {
              for (const auto& [caption, button] : steps) {
                  HWND dialog = nullptr;
                  if (!WaitUntil([&] { return (dialog = ShownDialog(caption)) != nullptr; }, 60000))
                      return;
                  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
                  WaitUntil([&] { return !IsWindow(dialog); }, 60000);
                  ++answered;
              }
          })
    {
    }
    ~Answers() { worker.join(); }
    // Waits, handling the window's messages, until every dialog was answered.
    bool Done()
    {
        return PumpUntil([&] { return answered.load() == count; }, 120000);
    }

private:
    static HWND ShownDialog(const char* caption)
    {
        HWND dialog = FindWindowA("#32770", caption);
        DWORD process = 0;
        if (dialog != nullptr)
            GetWindowThreadProcessId(dialog, &process);
        return dialog != nullptr && process == GetCurrentProcessId() && IsWindowVisible(dialog) ? dialog : nullptr;
    }

    std::atomic<size_t> answered{0};
    size_t count;
    std::thread worker;
};

void HoldShift(bool down) { fm_test::HoldKey(VK_SHIFT, down); }

// Bytes that differ from file to file and are not all text.
std::string Content(size_t size, int seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + static_cast<size_t>(seed) * 7) & 0xFF);
    return bytes;
}

// A box the reporter showed after the upload (shown from the window's queue once idle).
std::vector<RecordedBox> BoxesAfterUpload(const MessageBoxRecorder& boxes, size_t count)
{
    PumpUntil([&] { return boxes.Boxes().size() >= count; });
    return boxes.Boxes();
}

// An AT setting of the simulator, over the phone's AT line.
bool SimSetting(Socket& line, const std::string& setting)
{
    const std::string command = "AT$QVSIM=" + setting + "\r";
    line.Write(command.c_str(), 0);
    return line.ReadReply(0) > 0 && line.result.Equals("OK");
}

}  // namespace

TEST(FileManagerUpload, PastedTreesGoUpAfterTheReplaceQuestions)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.Folder("Музыка");
    rig.tree.File("Музыка\\a.mp3", "old a");
    rig.tree.Folder("Пропуск");
    rig.tree.File("Пропуск\\y.txt", "y");
    rig.tree.File("фото.jpg", "old photo");
    rig.tree.File("поздно.txt", "old late");
    Desktop desktop;
    const std::string song = Content(5000, 1);  // several packets
    desktop.Folder("Музыка");
    desktop.File("Музыка\\a.mp3", song);
    desktop.Folder("Музыка\\Альбом");
    desktop.File("Музыка\\Альбом\\b.mp3", Content(1500, 2));
    desktop.Folder("Музыка\\Пустая");
    desktop.Folder("Пропуск");
    desktop.File("Пропуск\\x.txt", "x");
    desktop.File("фото.jpg", "new photo");
    desktop.File("поздно.txt", "new late");
    desktop.File("ещё.txt", "more");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.events.clear();

    // "Вставить" follows what the desktop puts on the clipboard.
    OpenClipboard(rig.main.Handle());
    EmptyClipboard();
    CloseClipboard();
    ASSERT_TRUE(PumpUntil([&] { return !rig.commands.paste; }));
    PutOnClipboard(rig.main.Handle(), Paths(desktop, {"Музыка", "Пропуск", "фото.jpg"}));
    EXPECT_TRUE(PumpUntil([&] { return rig.commands.paste; }));

    // "Да" merges a folder without asking about what is inside, "Нет" leaves a folder out with
    // everything in it, "Да" replaces a file.
    Answers answers({{"Подтверждение замены папки", IDYES},
                     {"Подтверждение замены папки", IDNO},
                     {"Подтверждение замены файла", IDYES}});
    rig.KeyWithControl('V');
    ASSERT_TRUE(answers.Done());
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_TRUE(rig.tree.Read("Музыка\\a.mp3") == song);
    EXPECT_TRUE(rig.tree.Read("Музыка\\Альбом\\b.mp3") == Content(1500, 2));
    EXPECT_TRUE(rig.tree.Exists("Музыка\\Пустая"));
    EXPECT_EQ(rig.tree.Read("Пропуск\\y.txt"), "y");
    EXPECT_FALSE(rig.tree.Exists("Пропуск\\x.txt"));
    EXPECT_EQ(rig.tree.Read("фото.jpg"), "new photo");
    // Freed once, with the folder read again; the progress dialog goes.
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 4"}));
    EXPECT_TRUE(PumpUntil([&] { return !rig.Fm().progressDialog->IsOpen(); }));

    // "Отмена" ends the upload: neither the file asked about nor the one after it goes up.
    Answers cancel({{"Подтверждение замены файла", IDCANCEL}});
    PutOnClipboard(rig.main.Handle(), Paths(desktop, {"поздно.txt", "ещё.txt"}));
    rig.Command(IDM_PASTE);
    ASSERT_TRUE(cancel.Done());
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(rig.tree.Read("поздно.txt"), "old late");
    EXPECT_FALSE(rig.tree.Exists("ещё.txt"));
    EXPECT_EQ(rig.Rows(), (Rows{"Музыка", "Пропуск", "поздно.txt", "фото.jpg"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerUpload, CancelInTheProgressDialogEndsTheUploadWithoutAsking)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--baud", "115200"});
    Desktop desktop;
    desktop.File("большой.bin", Content(200000, 7));
    desktop.File("после.txt", "after");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.events.clear();

    PutOnClipboard(rig.main.Handle(), Paths(desktop, {"большой.bin", "после.txt"}));
    rig.Command(IDM_PASTE);
    ASSERT_TRUE(rig.Fm().IsWorking());
    // Cancel is pressed once the first file is on its way.
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        dialog = rig.Fm().progressDialog->Handle();
        return dialog != nullptr &&
               SendDlgItemMessageA(dialog, IDC_FILEOP_FILE_BAR, PBM_GETPOS, 0, 0) > 0;
    }));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_FALSE(rig.tree.Exists("после.txt"));
    EXPECT_EQ(rig.events, (Rows{"busy", rig.tree.Exists("большой.bin") ? "idle 1" : "idle 0"}));
    // A cancelled transfer is no failure to ask about.
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A drag source that still holds the window's drop target after the phone went: the target
// takes nothing and touches no window, and it goes with the holder's last reference.
TEST(FileManagerUpload, DropTargetHeldAfterThePhoneWentTakesNothing)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    Desktop desktop;
    desktop.File("поздно.txt", "late");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    IDropTarget* target = rig.Fm().DropTarget();
    ASSERT_NE(target, nullptr);
    target->AddRef();
    const HWND window = rig.Fm().Handle();
    rig.Disconnect();
    ASSERT_FALSE(IsWindow(window));

    fm_test::FileListData data(Paths(desktop, {"поздно.txt"}));
    const POINTL at{0, 0};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(&data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragOver(0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // OLE's registration and the window's own reference are gone.
    EXPECT_EQ(target->Release(), 0u);
    EXPECT_FALSE(rig.tree.Exists("поздно.txt"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerUpload, DragFromTwoFoldersDroppedOnTheWindowGoesUpWhole)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.File("один.txt", "old one");
    rig.tree.Folder("Папка");
    rig.tree.File("Папка\\два.txt", "old two");
    Desktop desktop;
    desktop.Folder("Первая");
    desktop.File("Первая\\один.txt", Content(2500, 3));
    desktop.Folder("Вторая");
    desktop.Folder("Вторая\\Папка");
    desktop.File("Вторая\\Папка\\два.txt", Content(700, 4));
    desktop.File("Вторая\\три.txt", "three");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    const std::vector<std::wstring> dragged = Paths(desktop, {"Первая\\один.txt", "Вторая\\Папка", "Вторая\\три.txt"});

    // The window's own drag is not taken back.
    rig.Fm().SetDraggingOut(true);
    EXPECT_EQ(DragOnto(rig.Fm().listView.Handle(), dragged), static_cast<DWORD>(DROPEFFECT_NONE));
    rig.Fm().SetDraggingOut(false);
    EXPECT_FALSE(rig.Fm().IsWorking());

    // "Да - для всех" at the first question replaces and merges the rest without asking. The
    // user holds Shift to move and the source offers a move: it is told a copy, since its
    // files are read only after the drop.
    rig.events.clear();
    Answers yesToAll({{"Подтверждение замены файла", IDC_YES_TO_ALL}});
    HoldShift(true);
    const DWORD effect = DragOnto(rig.Fm().listView.Handle(), dragged);
    HoldShift(false);
    ASSERT_TRUE(yesToAll.Done());
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(rig.tree.Read("один.txt") == Content(2500, 3));
    EXPECT_TRUE(rig.tree.Read("Папка\\два.txt") == Content(700, 4));
    EXPECT_EQ(rig.tree.Read("три.txt"), "three");
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 3"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerUpload, NamesOutsideTheCodePageAreLeftOutAndTold)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    Desktop desktop;
    // Beside each name the code page lacks lies the name it would read as with look-alikes.
    desktop.File("cafe.txt", "another file");
    desktop.Folder("Смесь");
    desktop.File("Смесь\\cafe.txt", "plain");
    const std::wstring accented = Wide(desktop.Path("")) + L"caf\u00e9.txt";
    const std::wstring inside = Wide(desktop.Path("Смесь\\")) + L"caf\u00e9.txt";
    for (const std::wstring& path : {accented, inside}) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "accented", 8, &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();

    // Only such a name: nothing goes up, the phone is free at once, the user is told.
    rig.events.clear();
    PutOnClipboard(rig.main.Handle(), {accented});
    rig.Command(IDM_PASTE);
    EXPECT_FALSE(rig.Fm().IsWorking());
    EXPECT_EQ(rig.events, (Rows{"busy", "idle 0"}));
    std::vector<RecordedBox> told = BoxesAfterUpload(boxes, 1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].owner, rig.Fm().Handle());
    EXPECT_EQ(told[0].text, "Не переданы следующие объекты:\n«" + desktop.Path("caf?.txt") +
                                "»: имя не записывается в кодировке системы");

    // With a folder holding another such name: the rest goes up, both are named.
    boxes.Clear();
    PutOnClipboard(rig.main.Handle(), {accented, Wide(desktop.Path("Смесь"))});
    rig.Command(IDM_PASTE);
    ASSERT_TRUE(rig.WaitIdle());
    told = BoxesAfterUpload(boxes, 1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, "Не переданы следующие объекты:\n«" + desktop.Path("caf?.txt") +
                                "»: имя не записывается в кодировке системы\n«" + desktop.Path("Смесь\\caf?.txt") +
                                "»: имя не записывается в кодировке системы");
    EXPECT_EQ(rig.tree.Read("Смесь\\cafe.txt"), "plain");
    EXPECT_FALSE(rig.tree.Exists("cafe.txt"));
    EXPECT_EQ(rig.Rows(), Rows{"Смесь"});
    for (const std::wstring& path : {accented, inside})
        DeleteFileW(path.c_str());
}

TEST(FileManagerSamsung, FileSystemThatTakesNoFilesRefusesPasteAndDrop)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "samsung"});
    rig.tree.Folder("Sounds");
    Desktop desktop;
    desktop.File("звонок.mid", "ring");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.events.clear();

    PutOnClipboard(rig.main.Handle(), Paths(desktop, {"звонок.mid"}));
    rig.KeyWithControl('V');
    rig.Command(IDM_PASTE);
    EXPECT_EQ(DragOnto(rig.Fm().listView.Handle(), Paths(desktop, {"звонок.mid"})),
              static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(rig.Fm().IsWorking());
    EXPECT_TRUE(rig.events.empty());
    EXPECT_FALSE(rig.tree.Exists("звонок.mid"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileManagerSamsung, MediaStoreAsksAboutAFileOverItsSizeLimit)
{
    MessageBoxRecorder boxes;  // answers "Да": the upload goes on
    Rig rig({"--profile", "samsung"});
    for (const char* folder : {"Sounds", "Pictures", "Photos"})
        rig.tree.Folder(folder);
    Desktop desktop;
    desktop.File("big.jpg", Content(600, 5));
    desktop.File("small.jpg", Content(300, 6));
    ASSERT_TRUE(rig.Connect()) << rig.sim->Error();
    // A phone without the file system, whose media store takes files up to 500 bytes.
    Socket* at = rig.port.GetSocket(Socket::kChannelAt);
    ASSERT_NE(at, nullptr);
    ASSERT_TRUE(SimSetting(*at, "fs,0"));
    ASSERT_TRUE(SimSetting(*at, "max-file,500"));
    ASSERT_TRUE(rig.Fm().OpenSession());
    ASSERT_TRUE(rig.WaitIdle());
    ASSERT_TRUE(rig.Select("Изображения"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());

    PutOnClipboard(rig.main.Handle(), Paths(desktop, {"big.jpg", "small.jpg"}));
    rig.Command(IDM_PASTE);
    ASSERT_TRUE(rig.WaitIdle());
    const std::vector<RecordedBox> asked = boxes.Boxes();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text.substr(0, asked[0].text.find('\n')), "Ошибка копирования файла «big.jpg».");
    EXPECT_NE(asked[0].text.find("Размер не должен превышать 500 байт."), std::string::npos) << asked[0].text;
    EXPECT_FALSE(rig.tree.Exists("Pictures\\big"));
    EXPECT_TRUE(rig.tree.Read("Pictures\\small") == Content(300, 6));
}
