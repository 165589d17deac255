#include "filemanager/win/FileManagerThreads.h"

#include "devices/Device.h"
#include "devices/TComm.h"
#include "filemanager/win/FileManagerWindow.h"
#include "resources/resource.h"
#include "toolkit/win/DialogWait.h"
#include "transport/Socket.h"

namespace {

// How often a join on the window's thread looks again for question boxes to close: the
// worker may put one up after the stop was asked for.
constexpr DWORD kJoinRecheckMs = 100;

BOOL CALLBACK AnswerNo(HWND window, LPARAM)
{
    char className[16] = {};
    // Message boxes are dialogs of the system's class.
    if (GetClassNameA(window, className, sizeof className) > 0 && lstrcmpA(className, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    return TRUE;
}

// Lets the wait panel's bar follow a delete walk and the walk see a stop or Cancel.
class WalkProgress : public DeleteProgress {
public:
    WalkProgress(DialogWait& panel, const ThreadObject& worker) : panel(panel), worker(worker) {}
    void ShowObject(const GString& name) override
    {
        panel.SetText(name);
        panel.Step();
    }
    bool StopRequested() override { return worker.StopRequested() || panel.IsCancelled(); }

private:
    DialogWait& panel;
    const ThreadObject& worker;
};

}  // namespace

FileManagerThread::FileManagerThread() : finished(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

FileManagerThread::~FileManagerThread()
{
    // The owner joined the run already; this only makes sure of it.
    StopAndJoin();
    if (finished != nullptr)
        CloseHandle(finished);
}

void FileManagerThread::Run()
{
    Body();
    SetEvent(finished);
}

bool FileManagerThread::StartFor(FileManagerWindow* owner)
{
    if (owner == nullptr || IsRunning())
        return false;
    window = owner;
    ClearStopRequest();
    ResetEvent(finished);
    if (Start())
        return true;
    SetEvent(finished);
    return false;
}

void FileManagerThread::CloseQuestionBoxes() const
{
    if (IsRunning() && ThreadId() != 0)
        EnumThreadWindows(ThreadId(), AnswerNo, 0);
}

void FileManagerThread::StopAndJoin()
{
    if (!IsRunning())
        return;
    ThreadObject::RequestStop();
    const bool windowThread = window != nullptr && window->Handle() != nullptr &&
                              GetWindowThreadProcessId(window->Handle(), nullptr) == GetCurrentThreadId();
    for (;;) {
        CloseQuestionBoxes();
        const DWORD waited = windowThread
                                 ? MsgWaitForMultipleObjects(1, &finished, FALSE, kJoinRecheckMs, QS_SENDMESSAGE)
                                 : WaitForSingleObject(finished, kJoinRecheckMs);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_FAILED)
            break;
        if (waited == WAIT_OBJECT_0 + 1) {
            // Handles the messages other threads sent to this one, and only those.
            MSG msg{};
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    Wait(kInfinite);
}

void WorkerWait::SetRange(uint32_t low, uint32_t high) { panel.SetRange(low, high); }

void WorkerWait::Step() { panel.Step(); }

bool WorkerWait::IsCancelled() { return worker.StopRequested() || panel.IsCancelled(); }

bool WorkerQuestions::AskContinue(uint32_t messageId, const GString& name)
{
    if (worker.StopRequested())
        return false;
    return AskContinueBox(owner, messageId, name);
}

void OpenFTPThread::Body()
{
    window->OpenWaitPanel();
    window->waitDialog.SetText("Подключение к сервису...");
    window->waitDialog.SetRange(0, 20);
    Device* device = window->OwnerDevice();
    WorkerWait wait(window->waitDialog, *this);
    bool opened = false;
    if (device != nullptr && device->port != nullptr && !Stopping()) {
        Socket* socket = device->port->GetSocket(Socket::kChannelObex, &wait);
        opened = socket != nullptr && !Stopping() && device->OpenFileAccess(socket, &wait);
    }
    if (opened && !Stopping()) {
        GString label(device->port->info[TComm::kManufacturer]);
        if (label.IsEmpty())
            label = device->name;
        label.Append(":");
        window->AttachSession(device->fileAccess, label);
        // Listed here rather than on the ReadDirThread: the phone stays busy until the list
        // is filled, and no second worker ever shares the session with this one.
        window->ReadFolderIntoList(*this);
    } else {
        window->waitDialog.Close();
        if (!Stopping() && window->MainWindow() != nullptr)
            SendMessageA(window->MainWindow()->Handle(), QVM_SWITCH_VIEW, 0, 0);
    }
    window->SendBusy(false);
}

void ReadDirThread::Body()
{
    window->SendBusy(true);
    window->ReadFolderIntoList(*this);
    window->SendBusy(false);
}

void DeleteFileThread::Body()
{
    window->OpenWaitPanel();
    window->waitDialog.SetRange(0, 50);
    if (FTP* files = window->Session()) {
        WorkerQuestions questions(window->Handle(), *this);
        WalkProgress progress(window->waitDialog, *this);
        DeleteWalk(*files, questions, progress).Run(selection);
    }
    selection.clear();
    window->ReadFolderIntoList(*this);
    window->SendBusy(false);
}

bool CopyFileThread::StartUpload(FileManagerWindow* owner, Upload job)
{
    if (IsRunning() || !job)
        return false;
    upload = std::move(job);
    notSent = GString();
    return StartFor(owner);
}

void CopyFileThread::Body()
{
    upload(*this);
    upload = nullptr;
    if (window->progressDialog != nullptr)
        window->progressDialog->RequestClose();
    window->ReadFolderIntoList(*this);
    window->SendBusy(false);
    if (!notSent.IsEmpty() && !Stopping())
        window->HandOverNotSent(notSent);
}
