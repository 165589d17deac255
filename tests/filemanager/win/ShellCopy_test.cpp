// Phone files copied to the desktop, against the simulated phone: pasted by a second program
// through the clipboard, dragged onto a drop target, with reads that fail, hostile names, a
// receiver that never says it is done, and one that keeps the copy after the phone went.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "filemanager/win/ShellFormats.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/ObexWinKit.h"
#include "support/win/TempDir.h"
#include "ClipReader.h"
#include "FileManagerRig.h"

using fm_test::PasteElsewhere;
using fm_test::Pasted;
using fm_test::Rig;
using Strings = std::vector<std::string>;

namespace {

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

struct StreamRead {
    HRESULT last = E_FAIL;
    std::string bytes;
};

// Reads a stream to its end, or to the first failure, in blocks of size.
StreamRead Drain(IStream* stream, ULONG size = 65536)
{
    StreamRead read;
    std::string block(size, '\0');
    for (;;) {
        ULONG got = 0;
        read.last = stream->Read(block.data(), size, &got);
        if (FAILED(read.last))
            return read;
        read.bytes.append(block.data(), got);
        if (read.last == S_FALSE || got == 0)
            return read;
    }
}

IStream* Contents(IDataObject* data, LONG index)
{
    FORMATETC format{TheShellFormats().fileContents, nullptr, DVASPECT_CONTENT, index, TYMED_ISTREAM};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)) || medium.tymed != TYMED_ISTREAM)
        return nullptr;
    return medium.pstm;
}

// The descriptor's names in order.
Strings DescribedNames(IDataObject* data)
{
    Strings names;
    FORMATETC format{TheShellFormats().fileDescriptor, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return names;
    const auto* group = static_cast<const FILEGROUPDESCRIPTORA*>(GlobalLock(medium.hGlobal));
    for (UINT i = 0; i < group->cItems; ++i)
        names.push_back(group->fgd[i].cFileName);
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return names;
}

// A drop target in a window of its own, below the file manager: it takes every drag as a
// move, and either reads the dropped files at once or, when the source offers it, after the
// drop (then the test reads them and ends the operation).
class TestDropTarget : public IDropTarget {
public:
    explicit TestDropTarget(bool later) : later(later)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "qv_TestDropTarget";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOPMOST, "qv_TestDropTarget", "target", WS_POPUP | WS_VISIBLE, 900, 600, 250,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        registered = SUCCEEDED(RegisterDragDrop(window, this));
        // The drop happens where the cursor is: in the middle of this window.
        SetCursorPos(1025, 700);
    }
    ~TestDropTarget()
    {
        if (dropped != nullptr)
            dropped->Release();
        if (registered)
            RevokeDragDrop(window);
        DestroyWindow(window);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        if (onDrop)
            onDrop();
        data->AddRef();
        dropped = data;
        *effect = DROPEFFECT_MOVE;
        IDataObjectAsyncCapability* async = nullptr;
        BOOL asyncMode = FALSE;
        if (later && SUCCEEDED(data->QueryInterface(IID_IDataObjectAsyncCapability, reinterpret_cast<void**>(&async))) &&
            SUCCEEDED(async->GetAsyncMode(&asyncMode)) && asyncMode) {
            async->StartOperation(nullptr);
            operation = async;
            return S_OK;
        }
        if (async != nullptr)
            async->Release();
        ReadAll();
        return S_OK;
    }

    void ReadAll()
    {
        const Strings names = DescribedNames(dropped);
        for (size_t i = 0; i < names.size(); ++i) {
            if (IStream* stream = Contents(dropped, static_cast<LONG>(i))) {
                files[names[i]] = Drain(stream);
                stream->Release();
            }
        }
    }

    HWND window = nullptr;
    bool registered = false;
    bool later;
    std::function<void()> onDrop;
    IDataObject* dropped = nullptr;
    IDataObjectAsyncCapability* operation = nullptr;
    std::map<std::string, StreamRead> files;
};

// Starts a drag of the selection as the list reports one.
void BeginDrag(Rig& rig)
{
    NMLISTVIEW begin{};
    begin.hdr.hwndFrom = rig.Fm().listView.Handle();
    begin.hdr.idFrom = IDC_FILE_LIST;
    begin.hdr.code = LVN_BEGINDRAG;
    SendMessageA(rig.Fm().Handle(), WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&begin));
}

// Runs once from the thread's message handling, 10 ms from now: inside the next wait that
// handles messages.
std::function<void()> soon;
void CALLBACK RunSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> call = std::move(soon);
    soon = nullptr;
    if (call)
        call();
}
void CallSoon(std::function<void()> call)
{
    soon = std::move(call);
    SetTimer(nullptr, 0, 10, RunSoon);
}

}  // namespace

TEST(ShellCopy, CopiedTreeIsPastedByAnotherProgramWholeAndOnlyOnce)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    const std::string photo = Pattern(70000, 3);
    rig.tree.Folder("Фото");
    rig.tree.File("Фото\\лето.jpg", photo);
    rig.tree.Folder("Фото\\2024");
    rig.tree.File("Фото\\2024\\b.txt", "bb");
    rig.tree.Folder("Фото\\пусто");
    rig.tree.File("empty.bin", "");
    rig.tree.File("заметка.txt", "hello");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.events.clear();

    rig.Command(IDM_SELECT_ALL);
    rig.KeyWithControl('C');
    EXPECT_TRUE(rig.Fm().OffersShellData());
    // Nothing is read from the phone before the receiver reads.
    EXPECT_TRUE(rig.events.empty());

    TempDir desk;
    const Pasted pasted = PasteElsewhere(desk.Path(), "--again 5");
    ASSERT_EQ(pasted.exitCode, 0u);
    const Strings described = {"Фото", "empty.bin", "заметка.txt", "Фото\\2024", "Фото\\пусто", "Фото\\лето.jpg",
                               "Фото\\2024\\b.txt"};
    for (size_t i = 0; i < described.size(); ++i) {
        const bool folder = described[i].find('.') == std::string::npos;
        const std::string expected = "ITEM " + std::to_string(i) + "|" + described[i] +
                                     (folder ? "|flags=24|attributes=10|size=0" : "|flags=64|attributes=80|size=");
        EXPECT_EQ(pasted.Line("ITEM " + std::to_string(i) + "|").rfind(expected, 0), 0u)
            << pasted.Line("ITEM " + std::to_string(i) + "|");
        if (folder) {
            EXPECT_TRUE(IsFolder(desk.Path() + "\\" + described[i])) << described[i];
            continue;
        }
        // Whole, with the phone's modification time.
        EXPECT_EQ(pasted.Line("READ " + std::to_string(i) + "|"),
                  "READ " + std::to_string(i) + "|00000001|" + std::to_string(rig.tree.Read(described[i]).size()));
        EXPECT_TRUE(PhoneTree::ReadLocal(desk.Path() + "\\" + described[i]) == rig.tree.Read(described[i]))
            << described[i];
        EXPECT_EQ(WriteTimeSeconds(desk.Path() + "\\" + described[i]), WriteTimeSeconds(rig.tree.Win(described[i])))
            << described[i];
    }
    // A second request for one file gets the whole file again.
    EXPECT_EQ(pasted.Line("AGAIN"), "AGAIN 5|00000001|70000");
    if (pasted.Line("REPORTED") == "REPORTED 00000000") {
        // The receiver's report ends the copy and takes it off the clipboard: a second paste
        // finds nothing.
        ASSERT_TRUE(PumpUntil([&] { return !rig.Fm().OffersShellData(); }));
        TempDir again;
        EXPECT_EQ(PasteElsewhere(again.Path()).exitCode, 2u);
    } else {
        // Wine's clipboard does not pass the receiver's report on (E_NOTIMPL): every file
        // went whole and the last stream was let go, so the phone is free and the copy stays
        // on offer.
        EXPECT_EQ(pasted.Line("REPORTED"), "REPORTED 80004001");
        ASSERT_TRUE(PumpUntil([&] { return !rig.port.device->IsBusy(); }));
        EXPECT_TRUE(rig.Fm().OffersShellData());
    }
    // Busy from the first read to the end of the copy.
    ASSERT_FALSE(rig.events.empty());
    EXPECT_EQ(rig.events.front(), "busy");
    EXPECT_EQ(rig.events.back(), "idle 3");
    // The status line cleared for the busy spell comes back without a new listing.
    EXPECT_FALSE(rig.status.memory.empty());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ShellCopy, DragMoveDeletesOnlyWhatArrivedWhole)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens"});
    rig.tree.File("a.txt", Pattern(3000, 1));
    rig.tree.File("b.txt", Pattern(2000, 2));
    rig.tree.Folder("Keep");
    rig.tree.File("Keep\\k.txt", "k");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.Command(IDM_SELECT_ALL);
    rig.events.clear();

    // The receiver takes the files after the drop; the phone refuses the first file it is
    // asked for.
    TestDropTarget target(true);
    ASSERT_TRUE(target.registered);
    bool draggingAtDrop = false;
    target.onDrop = [&] {
        draggingAtDrop = rig.Fm().IsDraggingOut();
        EXPECT_EQ(rig.sim->Control("OBEX-FAIL GET=0xC3:1"), "OK");
    };
    BeginDrag(rig);
    ASSERT_NE(target.operation, nullptr) << "the drop did not reach the target";
    EXPECT_TRUE(draggingAtDrop);
    EXPECT_FALSE(rig.Fm().IsDraggingOut());
    EXPECT_TRUE(rig.port.device->IsBusy());

    target.ReadAll();
    EXPECT_EQ(target.files["a.txt"].last, STG_E_READFAULT);
    EXPECT_EQ(target.files["b.txt"].last, S_FALSE);
    EXPECT_TRUE(target.files["b.txt"].bytes == rig.tree.Read("b.txt"));
    EXPECT_EQ(target.files["Keep\\k.txt"].bytes, "k");
    EXPECT_EQ(target.operation->EndOperation(S_OK, nullptr, DROPEFFECT_MOVE), S_OK);
    target.operation->Release();
    ASSERT_TRUE(rig.WaitIdle());

    EXPECT_TRUE(rig.tree.Read("a.txt") == Pattern(3000, 1));
    EXPECT_FALSE(rig.tree.Exists("b.txt"));
    EXPECT_FALSE(rig.tree.Exists("Keep"));
    EXPECT_EQ(rig.Rows(), (Strings{"a.txt"}));
    EXPECT_EQ(rig.events.front(), "busy");
    EXPECT_EQ(rig.events.back(), "idle 1");
    EXPECT_FALSE(rig.Fm().OffersShellData());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ShellCopy, LinkCutMidFileIsAReadFaultAndTheMoveDeletesNothing)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--delay", "10"});
    const std::string big = Pattern(64 * 1024, 4);
    rig.tree.File("big.bin", big);
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_TRUE(rig.Select("big.bin"));

    // Read at the drop; the phone goes away a few packets into the file.
    TestDropTarget target(false);
    std::thread cutter;
    target.onDrop = [&] {
        const uint64_t before = rig.sim->BytesToPc();
        cutter = std::thread([&rig, before] {
            rig.sim->WaitForBytesToPc(before + 8000, 60000);
            rig.sim->Stop();
        });
    };
    BeginDrag(rig);
    cutter.join();
    ASSERT_EQ(target.files.count("big.bin"), 1u) << "the drop did not reach the target";
    EXPECT_EQ(target.files["big.bin"].last, STG_E_READFAULT);
    EXPECT_LT(target.files["big.bin"].bytes.size(), big.size());
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_TRUE(rig.tree.Read("big.bin") == big);
    EXPECT_EQ(rig.sim->Log().find("obex PUT name='big.bin'"), std::string::npos);
    EXPECT_FALSE(rig.port.device->IsBusy());
}

TEST(ShellCopy, HostileNamesLandInsideTheDropFolder)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--listing-extra", "=..\\..\\evil.txt", "--listing-extra", "=..\\up/"});
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    // Names a phone may hold that the desktop does not allow, stored through the phone. Only
    // the phone can delete them again: the tree's own cleanup cannot name them, and a later
    // test process given this one's id would find them in its tree.
    const char* const hostile[] = {"a:b*c?.txt", "x<y>|\".txt"};
    struct DeleteThroughPhone {
        Rig& rig;
        const char* const* names;
        ~DeleteThroughPhone()
        {
            for (int i = 0; i < 2; ++i) {
                if (FTP* files = rig.Fm().Session(); files != nullptr && !rig.Fm().IsWorking())
                    files->DeleteObject(names[i]);
            }
        }
    } cleanup{rig, hostile};
    TempDir local;
    PhoneTree::WriteLocal(local.File("plain.txt"), "colon");
    for (const char* name : hostile) {
        FileInformation file;
        lstrcpyA(file.findData.fileName, name);
        file.path = local.File("plain.txt").c_str();
        ASSERT_TRUE(rig.Fm().Session()->PutFile(&file, nullptr)) << name;
    }
    rig.Command(IDM_REFRESH);
    ASSERT_TRUE(rig.WaitIdle());
    rig.Command(IDM_SELECT_ALL);
    rig.Command(IDM_COPY);
    // The folder named like a path is left out, and the user is told.
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("..\\up"), std::string::npos) << boxes.Boxes()[0].text;

    TempDir desk;
    const std::string drop = desk.Path() + "\\drop";
    CreateDirectoryA(drop.c_str(), nullptr);
    const Pasted pasted = PasteElsewhere(drop);
    ASSERT_EQ(pasted.exitCode, 0u);
    EXPECT_EQ(PhoneTree::ReadLocal(drop + "\\a_b_c_.txt"), "colon");
    EXPECT_EQ(PhoneTree::ReadLocal(drop + "\\x_y___.txt"), "colon");
    // The listed path has nothing behind it and is not asked for under another name.
    EXPECT_NE(pasted.Line("ITEM 0|.._.._evil.txt"), "");
    EXPECT_EQ(pasted.Line("READ 0|"), "READ 0|8003001e|0");
    EXPECT_EQ(GetFileAttributesA((desk.Path() + "\\evil.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((desk.Path() + "\\..\\evil.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(rig.sim->Log().find("GET name='..\\..\\evil.txt'"), std::string::npos);
}

TEST(ShellCopy, ReceiverThatNeverReportsOrLosesTheClipboardFreesThePhone)
{
    Rig rig({"--profile", "siemens"});
    rig.tree.File("a.bin", Pattern(5000, 5));
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    ASSERT_TRUE(rig.Select("a.bin"));
    rig.Command(IDM_COPY);
    rig.events.clear();

    // A receiver reads a little, lets the stream go and says nothing more.
    const auto readSome = [&] {
        IDataObject* data = nullptr;
        ASSERT_EQ(OleGetClipboard(&data), S_OK);
        IStream* stream = Contents(data, 0);
        ASSERT_NE(stream, nullptr);
        char some[100];
        ULONG got = 0;
        EXPECT_EQ(stream->Read(some, sizeof some, &got), S_OK);
        EXPECT_EQ(got, sizeof some);
        stream->Release();
        data->Release();
    };
    readSome();
    EXPECT_EQ(rig.events, (Strings{"busy"}));
    ASSERT_TRUE(PumpUntil([&] { return rig.events.size() == 2; }));
    EXPECT_EQ(rig.events.back(), "idle 1");
    // The copy stays on offer for the next paste.
    EXPECT_TRUE(rig.Fm().OffersShellData());

    // Another program takes the clipboard while the phone is busy with the copy.
    readSome();
    EXPECT_EQ(rig.events.back(), "busy");
    ASSERT_TRUE(OpenClipboard(rig.main.Handle()));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    lstrcpyA(static_cast<char*>(GlobalLock(text)), "other");
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    ASSERT_TRUE(PumpUntil([&] { return !rig.Fm().OffersShellData(); }));
    EXPECT_EQ(rig.events.back(), "idle 1");
    EXPECT_FALSE(rig.port.device->IsBusy());
}

TEST(ShellCopy, ReceiverHoldingTheCopyAfterThePhoneWentGetsReadFaults)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--delay", "10"});
    rig.tree.File("a.bin", Pattern(20000, 6));
    rig.tree.File("b.bin", Pattern(3000, 7));
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    rig.Command(IDM_SELECT_ALL);
    TestDropTarget target(true);
    BeginDrag(rig);
    ASSERT_NE(target.operation, nullptr) << "the drop did not reach the target";
    IDataObject* data = target.dropped;
    IStream* first = Contents(data, 0);
    IStream* second = Contents(data, 1);
    ASSERT_TRUE(first != nullptr && second != nullptr);

    // Asked for what it does not know: nothing made up.
    STATSTG stat;
    memset(&stat, 0xCC, sizeof stat);
    EXPECT_EQ(first->Stat(&stat, STATFLAG_DEFAULT), E_NOTIMPL);
    EXPECT_EQ(stat.pwcsName, nullptr);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
    IStream* clone = reinterpret_cast<IStream*>(&stat);
    EXPECT_EQ(first->Clone(&clone), E_NOTIMPL);
    EXPECT_EQ(clone, nullptr);

    // A read and the receiver's report that arrive while a read waits for the phone are
    // refused as busy, not run on the busy line.
    HRESULT nestedRead = S_OK, nestedReport = S_OK;
    CallSoon([&] {
        char byte;
        ULONG got = 0;
        nestedRead = second->Read(&byte, 1, &got);
        FORMATETC effect{TheShellFormats().performedDropEffect, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM value{};
        value.tymed = TYMED_HGLOBAL;
        value.hGlobal = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        nestedReport = data->SetData(&effect, &value, TRUE);
        if (FAILED(nestedReport))
            ReleaseStgMedium(&value);
    });
    const StreamRead whole = Drain(first, 4096);
    EXPECT_EQ(whole.last, S_FALSE);
    EXPECT_TRUE(whole.bytes == Pattern(20000, 6));
    EXPECT_EQ(nestedRead, E_PENDING);
    EXPECT_EQ(nestedReport, E_PENDING);

    // The phone goes (its port removed) while the receiver still holds the copy: what it
    // calls afterwards fails, and its late move deletes nothing.
    rig.Disconnect();
    char buffer[16];
    ULONG got = 0;
    EXPECT_EQ(second->Read(buffer, sizeof buffer, &got), STG_E_READFAULT);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(first->Read(buffer, sizeof buffer, &got), STG_E_READFAULT);
    EXPECT_EQ(Contents(data, 1), nullptr);
    EXPECT_EQ(target.operation->EndOperation(S_OK, nullptr, DROPEFFECT_MOVE), S_OK);
    target.operation->Release();
    first->Release();
    second->Release();
    EXPECT_TRUE(rig.tree.Exists("a.bin") && rig.tree.Exists("b.bin"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ShellCopy, FolderChangeAndDisconnectMidReadWithdrawTheCopy)
{
    MessageBoxRecorder boxes;
    Rig rig({"--profile", "siemens", "--delay", "10"});
    const std::string big = Pattern(64 * 1024, 9);
    rig.tree.File("big.bin", big);
    rig.tree.Folder("Фото");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    const auto clipboardOffersFiles = [] {
        IDataObject* data = nullptr;
        if (OleGetClipboard(&data) != S_OK)
            return false;
        FORMATETC format{TheShellFormats().fileDescriptor, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        const bool offered = data->QueryGetData(&format) == S_OK;
        data->Release();
        return offered;
    };

    // Opening a folder takes the copy off the clipboard: its names belong to the folder left.
    // The list, switched off while the folder is read, has the keyboard again for the next
    // Ctrl+C.
    ASSERT_TRUE(rig.Select("big.bin"));
    rig.Command(IDM_COPY);
    ASSERT_TRUE(clipboardOffersFiles());
    ASSERT_TRUE(rig.Select("Фото"));
    HWND list = rig.Fm().listView.Handle();
    SetFocus(list);
    rig.Key(VK_RETURN);
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_FALSE(rig.Fm().OffersShellData());
    EXPECT_FALSE(clipboardOffersFiles());
    EXPECT_EQ(GetFocus(), list);
    rig.Key(VK_BACK);
    ASSERT_TRUE(rig.WaitIdle());

    // "Отключить" comes from the disconnect worker while a receiver's read waits for the phone.
    ASSERT_TRUE(rig.Select("big.bin"));
    rig.Command(IDM_COPY);
    IDataObject* data = nullptr;
    ASSERT_EQ(OleGetClipboard(&data), S_OK);
    IStream* stream = Contents(data, 0);
    ASSERT_NE(stream, nullptr);
    const uint64_t before = rig.sim->BytesToPc();
    std::atomic<bool> stopped{false};
    std::thread disconnect([&rig, &stopped, before] {
        rig.sim->WaitForBytesToPc(before + 8000, 60000);
        rig.Fm().StopAndWait();
        stopped.store(true);
    });
    const StreamRead cut = Drain(stream, static_cast<ULONG>(big.size()));
    // The worker hands the session back through the window, whose messages run meanwhile.
    EXPECT_TRUE(PumpUntil([&] { return stopped.load(); }, 60000));
    disconnect.join();
    EXPECT_EQ(cut.last, STG_E_READFAULT);
    EXPECT_TRUE(cut.bytes.empty());
    ULONG got = 0;
    char byte;
    EXPECT_EQ(stream->Read(&byte, 1, &got), STG_E_READFAULT);
    stream->Release();
    data->Release();
    EXPECT_FALSE(rig.Fm().OffersShellData());
    EXPECT_FALSE(clipboardOffersFiles());
    EXPECT_FALSE(rig.port.device->IsBusy());
    EXPECT_TRUE(boxes.Boxes().empty());
}
