// Object Push under Wine against the phone simulator's own OBEX server on a COM port: files
// chosen in the dialog arrive whole and with their times, the dialog and the window hear
// what they must, and every file that did not arrive is named to the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Settings.h"
#include "devices/Device.h"
#include "obex/win/PushDialog.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/MessagePump.h"
#include "support/win/ObexWinKit.h"
#include "support/win/PushRig.h"

namespace {

// Answers the file dialog from another thread as a user would: types the names into the
// file name box and presses Open. Gives up when the dialog has ended without it.
void AnswerFileDialog(std::string typed, const std::atomic<bool>* ended)
{
    HWND dialog = nullptr;
    while (!ended->load()) {
        dialog = FindWindowA("#32770", "Выбор объектов");
        if (dialog != nullptr && IsWindowVisible(dialog))
            break;
        Sleep(20);
    }
    if (ended->load())
        return;
    const int kFileNameBox = 0x47C;
    SetDlgItemTextA(dialog, kFileNameBox, typed.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// 2019-05-06 07:08:09 local time: no file made by the test run has it by chance.
void SetOldWriteTime(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME time{2019, 5, 0, 6, 7, 8, 9, 0};
    FILETIME local;
    FILETIME utc;
    SystemTimeToFileTime(&time, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

bool Contains(const std::string& text, const std::string& what)
{
    return text.find(what) != std::string::npos;
}

// A push wired to the recorder, with local files to send.
struct PushRun {
    PushRun()
    {
        push.SetListener(&recorder);
        push.SetProgress(&recorder);
    }
    // A test that failed while the push was held lets it go before the push is waited for.
    ~PushRun() { recorder.Release(); }
    void Select(const std::string& name, const std::string& content)
    {
        local.Write(name, content);
        push.selection.files.Append(new FileInformation(LocalFile(local.Path(name))));
    }
    // Pushes to port and waits for the end.
    void Send(TComm* port)
    {
        ASSERT_TRUE(push.StartPush(port));
        recorder.WaitEnd(push);
    }
    std::string Box() const
    {
        const std::vector<RecordedBox> shown = boxes.Boxes();
        return shown.size() == 1 ? shown[0].text : "boxes shown: " + std::to_string(shown.size());
    }

    PhoneRoot local;
    PushRecorder recorder;
    MessageBoxRecorder boxes;
    OBEX_Push push;
};

TEST(ObexPush, ChosenFilesArriveWholeAndTheNextPushOpensItsOwnSession)
{
    PhoneRoot root;
    // The phone refuses the first DISCONNECT: the next push must still connect anew.
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--obex-fail", "DISCONNECT=0xC3:1"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    LinePushSockets sockets(sim.ComName());
    std::unique_ptr<TBthPort> phone(NewPushPhone());
    PushRun run;
    const std::string photo = Pattern(5000, 31);  // five packets at the phone's 1024 bytes
    const std::string note = "a short note\n";
    run.local.Write("Фото.jpg", photo);
    run.local.Write("note.txt", note);
    SetOldWriteTime(run.local.Path("Фото.jpg"));

    run.push.selection.folder = run.local.Path("").c_str();
    std::atomic<bool> ended{false};
    std::thread user(AnswerFileDialog, "\"Фото.jpg\" \"note.txt\"", &ended);
    const bool chosen = run.push.SelectFiles(nullptr);
    ended.store(true);
    user.join();
    ASSERT_TRUE(chosen) << "dialog error " << CommDlgExtendedError();
    ASSERT_EQ(run.push.selection.files.Count(), 2u);

    // While it runs, a second push and a new selection are refused.
    run.recorder.HoldAtFile(1);
    ASSERT_TRUE(run.push.StartPush(phone.get()));
    run.recorder.WaitHeld();
    EXPECT_TRUE(run.push.IsPushing());
    EXPECT_FALSE(run.push.StartPush(phone.get()));
    EXPECT_FALSE(run.push.SelectFiles(nullptr));
    run.recorder.Release();
    run.recorder.WaitEnd(run.push);

    EXPECT_TRUE(root.Read("Фото.jpg") == photo) << "the photo differs";
    EXPECT_EQ(root.Read("note.txt"), note);
    EXPECT_EQ(WriteTimeSeconds(root.Path("Фото.jpg")), WriteTimeSeconds(run.local.Path("Фото.jpg")));
    EXPECT_TRUE(run.push.NotSent().empty());
    EXPECT_EQ(run.Box(), "boxes shown: 0");
    const std::vector<std::string> expected = {
        "busy",
        "open",
        "source Подготовка операции...",
        "total 5013",
        "target Bluetooth:\\Phone:",
        "source " + run.local.Path("Фото.jpg"),
        "counter 1/2",
        "size 5000",
        "source " + run.local.Path("note.txt"),
        "counter 2/2",
        "size 13",
        "close",
        "idle",
    };
    EXPECT_EQ(run.recorder.Log(), expected);
    EXPECT_EQ(run.recorder.Transferred(), 5013u);

    // Again, over the port's socket that the first push left closed.
    ASSERT_TRUE(DeleteFileA(root.Path("Фото.jpg").c_str()));
    run.Send(phone.get());
    EXPECT_TRUE(root.Read("Фото.jpg") == photo) << "the photo differs the second time";
    EXPECT_TRUE(run.push.NotSent().empty());
    EXPECT_EQ(run.Box(), "boxes shown: 0");
    EXPECT_EQ(Count(sim.Log(), "obex CONNECT"), 2u) << sim.Log();
}

// A refused CONNECT, a phone on a cable (no push channel) and a refused file: the box names
// every file that did not arrive, with the reason, and no other.
TEST(ObexPush, EveryFileNotSentIsNamed)
{
    PhoneRoot root;
    // The first session is refused; in the second the phone is full for the first file.
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--obex-fail", "CONNECT=0xC3:1",
                  "--obex-fail", "PUT=0xCD:1"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    LinePushSockets sockets(sim.ComName());
    std::unique_ptr<TBthPort> phone(NewPushPhone());
    {
        PushRun run;
        run.Select("a.txt", "first");
        run.Select("b.txt", "second");
        run.Send(phone.get());
        const std::string box = run.Box();
        EXPECT_TRUE(Contains(box, "«Phone» файлы (2 из 2):\nТелефон отказал в соединении (ответ 0xC3).\n\na.txt\nb.txt")) << box;
        EXPECT_EQ(run.boxes.Boxes().at(0).style, 0x10u);
        EXPECT_EQ(IndexOf(run.recorder.Log(), "counter 1/2"), -1);
        EXPECT_NE(IndexOf(run.recorder.Log(), "close"), -1);
        EXPECT_EQ(run.recorder.Log().back(), "idle");
        EXPECT_FALSE(root.Exists("a.txt"));
    }
    {
        PushRun run;
        run.Select("big.bin", Pattern(3000, 41));
        run.Select("small.txt", "fits");
        run.Send(phone.get());
        const std::string box = run.Box();
        EXPECT_TRUE(Contains(box, "(1 из 2):\n\nbig.bin: телефон отказал (ответ 0xCD)")) << box;
        EXPECT_FALSE(Contains(box, "small.txt")) << box;
        EXPECT_FALSE(root.Exists("big.bin"));
        EXPECT_EQ(root.Read("small.txt"), "fits");
    }
    {
        TSerialPort cable;
        cable.device = new Device(&cable);
        cable.device->name = "Cable phone";
        PushRun run;
        run.Select("c.txt", "third");
        run.Send(&cable);
        const std::string box = run.Box();
        EXPECT_TRUE(Contains(box, "«Cable phone» файлы (1 из 1):\nЭто подключение не поддерживает")) << box;
        EXPECT_TRUE(Contains(box, "\n\nc.txt")) << box;
        EXPECT_EQ(run.recorder.Log(), (std::vector<std::string>{"busy", "idle"}));
        EXPECT_EQ(cable.sockets.Count(), 0u);
    }
}

class OwnerWindow : public TWindow {
public:
    OwnerWindow()
    {
        RegisterWindowClass(0, nullptr, nullptr, "qv_TestPushOwner", 0);
        CreateWindowExA(0, "qv_TestPushOwner", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                        300, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~OwnerWindow() override { DestroyNativeWindow(); }
};

// The dialog the user sees: it names the phone, its Cancel breaks the file in transfer off
// (what arrived of it is removed) and sends no more, and it goes when the push has ended.
TEST(ObexPush, CancelInTheDialogEndsThePush)
{
    PhoneRoot root;
    PhoneSim sim({"--start-in-obex", "--root", root.Unix(), "--max-packet", "255", "--delay", "20"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    LinePushSockets sockets(sim.ComName());
    std::unique_ptr<TBthPort> phone(NewPushPhone());
    OwnerWindow owner;
    SettingsValues settings;
    PushDialog dialog(&owner, &settings);
    PushRun run;
    run.push.SetProgress(&dialog);
    run.Select("long.bin", Pattern(100000, 61));
    run.Select("after.txt", "never sent");
    ASSERT_TRUE(run.push.StartPush(phone.get()));
    const HWND window = dialog.dialog.Handle();
    ASSERT_NE(window, nullptr);
    auto text = [&](int id) {
        char buffer[256] = {};
        GetDlgItemTextA(window, id, buffer, sizeof buffer);
        return std::string(buffer);
    };
    EXPECT_TRUE(PumpUntil([&] { return text(IDC_FILEOP_TARGET) == "Bluetooth:\\Phone:"; }))
        << text(IDC_FILEOP_TARGET);
    EXPECT_TRUE(PumpUntil([&] { return text(IDC_FILEOP_COUNTER) == "1/2"; }));
    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !run.push.IsPushing() && !IsWindow(window); }));
    EXPECT_TRUE(Contains(run.Box(), "Отправка прервана.\n\nlong.bin\nafter.txt")) << run.Box();
    EXPECT_EQ(run.boxes.Boxes().at(0).style, 0x30u);
    EXPECT_FALSE(root.Exists("long.bin"));
    EXPECT_FALSE(root.Exists("after.txt"));
    EXPECT_TRUE(Contains(sim.Log(), "obex ABORT")) << sim.Log();
}

}  // namespace
