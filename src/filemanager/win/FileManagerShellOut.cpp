// Copying phone objects to the desktop: Ctrl+C and "Копировать" put them on the clipboard,
// dragging the selection offers them to a drop target. Both hand the desktop a data object
// whose file streams read the phone only when the receiver reads them; the phone is busy from
// the first read (or the start of a drag) until the copy ends.
#include "filemanager/win/FileManagerWindow.h"

#include <ole2.h>

#include "core/MessageReporter.h"
#include "filemanager/FileDescriptors.h"
#include "filemanager/FolderSteps.h"
#include "filemanager/SkippedItems.h"
#include "filemanager/win/FMDataObject.h"
#include "filemanager/win/GDropSource.h"
#include "filemanager/win/IFileManagerAsyncOperation.h"
#include "filemanager/win/ShellExchange.h"
#include "resources/resource.h"

namespace {

// How long the phone stays busy after a receiver let its last stream go without reporting
// the end, in case it goes on with the next file.
constexpr UINT kShellIdleMs = 3000;

// Names too long for the desktop, folders that could not be read: the user learns what the
// copy leaves out before anything is pasted.
void ReportLeftOut(const std::vector<SkippedItem>& skipped)
{
    const GString text = SkippedItemsText(skipped);
    if (text.IsEmpty())
        return;
    char caption[128] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_CAPTION_WARNING, caption, sizeof caption);
    Reporter().ReportText(text.CStr(), caption, MB_OK | MB_ICONWARNING);
}

}  // namespace

bool FileManagerWindow::BuildDataObject()
{
    FTP* files = Session();
    if (files == nullptr || IsWorking() || !capabilities.copyFromDevice)
        return false;
    const std::vector<const FolderObject*> selected = listView.SelectedEntries();
    if (selected.empty())
        return false;
    ShowWaitCursor(true);
    DropShellData();
    std::vector<FolderObject> selection;
    for (const FolderObject* entry : selected)
        selection.push_back(*entry);
    const GString start = files->CurrentPath();
    ReporterQuestions questions(handle);
    PhoneItemSet set = PhoneTreeWalk(*files, questions).Collect(selection);
    ReportLeftOut(set.skipped);
    // The phone must stand where the list shows it: names are asked for from there.
    if (!folder_steps::SamePath(files->CurrentPath(), start)) {
        ShowWaitCursor(false);
        Refresh();
        return false;
    }
    const std::vector<uint8_t> block = BuildFileDescriptors(set.items);
    HGLOBAL memory = set.items.empty() || block.empty() ? nullptr : GlobalAlloc(GMEM_MOVEABLE, block.size());
    if (memory == nullptr) {
        ShowWaitCursor(false);
        return false;
    }
    CopyMemory(GlobalLock(memory), block.data(), block.size());
    GlobalUnlock(memory);
    exchange = std::make_shared<ShellExchange>(this, OutgoingFiles(std::move(set), start));
    dataObject = new FMDataObject(exchange);
    const bool stored = SUCCEEDED(dataObject->StoreDescriptor(memory));
    if (!stored)
        DropShellData();
    ShowWaitCursor(false);
    return stored;
}

bool FileManagerWindow::CopySelection()
{
    if (listView.SelectedEntries().empty())
        return false;
    DropShellData();
    if (!BuildDataObject())
        return true;
    const HRESULT placed = OleSetClipboard(dataObject);
    if (FAILED(placed)) {
        DropShellData();
        Reporter().ReportFor(handle, MessageKind::SystemError, static_cast<uint32_t>(placed));
        return false;
    }
    return true;
}

void FileManagerWindow::DragOut()
{
    if (!BuildDataObject())
        return;
    // Held for the drag: the window may let the copy go while the drag runs (it closes).
    FMDataObject* data = dataObject;
    data->AddRef();
    std::shared_ptr<ShellExchange> dragged = exchange;
    BeginShellBusy();
    auto* companion = new IFileManagerAsyncOperation(dragged);
    companion->SetAsyncMode(TRUE);
    asyncOperation = companion;
    data->SetAsyncOperation(companion);
    auto* source = new GDropSource();
    DWORD effect = DROPEFFECT_NONE;
    draggingOut = true;
    const HRESULT result = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    draggingOut = false;
    source->Release();
    data->Release();
    // The receiver takes the files after the drop: its EndOperation ends the copy.
    if (exchange == dragged && asyncOperation != nullptr && asyncOperation->Running())
        return;
    const bool moved = result == DRAGDROP_S_DROP && (effect & DROPEFFECT_MOVE) != 0;
    if (exchange == dragged) {
        const std::vector<FolderObject> moving =
            moved && !dragged->lost ? dragged->files.MoveSelection() : std::vector<FolderObject>();
        DropShellData();
        StartMoveDelete(moving, dragged->files.Start());
    }
}

HRESULT FileManagerWindow::StartShellFetch(ShellExchange& from, size_t index, std::shared_ptr<FetchBuffer> buffer)
{
    FTP* files = Session();
    if (files == nullptr || from.lost || !from.files.IsFile(index))
        return STG_E_READFAULT;
    // A fetch whose stream went away ends at its next block; any other work keeps the phone.
    if (fetchThread.IsRunning() && fetchThread.Orphaned())
        fetchThread.StopAndJoin();
    if (IsWorking())
        return E_PENDING;
    const PhoneItem& item = from.files.Items()[index];
    BeginShellBusy();
    if (progressDialog != nullptr) {
        if (!progressDialog->IsOpen() && progressDialog->Open(this))
            progressDialog->SetTotalSize(from.files.Set().totalBytes);
        GString source(rootLabel);
        source.Append(folder_steps::ChildPath(from.files.Start(), item.PhonePath()));
        progressDialog->SetSourceText(source);
        progressDialog->SetFileCounter(from.files.FileNumber(index), from.files.FileCount());
        progressDialog->SetFileSize(item.size);
    }
    KillTimer(handle, kShellIdleTimer);
    if (!fetchThread.StartFetch(this, std::move(buffer), item, from.files.Start()))
        return STG_E_READFAULT;
    return S_OK;
}

void FileManagerWindow::ShellFetchEnded(ShellExchange& from)
{
    fetchThread.Wait(ThreadObject::kInfinite);
    if (fetchThread.Lost())
        from.lost = true;
}

bool FileManagerWindow::ShellCopyCancelled() const
{
    return progressDialog != nullptr && progressDialog->IsOpen() && progressDialog->IsCancelled();
}

void FileManagerWindow::ShellPasteDone()
{
    // A drag ends with the drop (or the receiver's EndOperation), not with this report.
    if (draggingOut || (asyncOperation != nullptr && asyncOperation->Running()))
        return;
    DropShellData();
}

void FileManagerWindow::ShellOperationStarted()
{
    BeginShellBusy();
    if (progressDialog != nullptr && !progressDialog->IsOpen() && progressDialog->Open(this)) {
        progressDialog->SetSourceText("Подготовка операции...");
        progressDialog->SetTotalSize(exchange != nullptr ? exchange->files.Set().totalBytes : 0);
    }
}

void FileManagerWindow::ShellOperationEnded(HRESULT result, DWORD effects)
{
    if (exchange == nullptr)
        return;
    std::shared_ptr<ShellExchange> ended = exchange;
    const bool moved = result == S_OK && (effects & DROPEFFECT_MOVE) != 0 && !ended->lost;
    const std::vector<FolderObject> moving = moved ? ended->files.MoveSelection() : std::vector<FolderObject>();
    DropShellData();
    StartMoveDelete(moving, ended->files.Start());
}

void FileManagerWindow::StartMoveDelete(const std::vector<FolderObject>& selection, const GString& start)
{
    FTP* files = Session();
    // The names are those of the starting folder: nowhere else may they be deleted.
    if (selection.empty() || files == nullptr || IsWorking() || !folder_steps::SamePath(files->CurrentPath(), start))
        return;
    StartDelete(selection);
}

void FileManagerWindow::CheckShellExchange()
{
    if (exchange == nullptr || draggingOut || exchange->reading != nullptr ||
        (asyncOperation != nullptr && asyncOperation->Running()))
        return;
    if (exchange->lost) {
        // Nothing more can be read by name; the list shows where the phone is.
        DropShellData();
        Refresh();
        return;
    }
    if (exchange->LiveStreams() > 0)
        return;
    // Only the window holds the data: the clipboard (another program took it) or the drag let
    // the copy go.
    if (dataObject == nullptr || dataObject->References() <= 1) {
        DropShellData();
        return;
    }
    if (!shellBusy)
        return;
    if (exchange->files.AllFilesDelivered())
        EndShellBusy();
    else
        SetTimer(handle, kShellIdleTimer, kShellIdleMs, nullptr);
}

void FileManagerWindow::OnShellIdleTimer()
{
    KillTimer(handle, kShellIdleTimer);
    if (exchange != nullptr && exchange->LiveStreams() == 0 && exchange->reading == nullptr && !draggingOut &&
        (asyncOperation == nullptr || !asyncOperation->Running()))
        EndShellBusy();
}

void FileManagerWindow::BeginShellBusy()
{
    if (shellBusy)
        return;
    shellBusy = true;
    ChangeBusy(true);
}

void FileManagerWindow::EndShellBusy()
{
    if (handle != nullptr)
        KillTimer(handle, kShellIdleTimer);
    if (!shellBusy)
        return;
    shellBusy = false;
    if (progressDialog != nullptr)
        progressDialog->RequestClose();
    ChangeBusy(false);
}

void FileManagerWindow::DropShellData()
{
    // A read still fetching stops before anything of the copy goes.
    if (fetchThread.IsRunning())
        fetchThread.StopAndJoin();
    if (dataObject != nullptr && OleIsCurrentClipboard(dataObject) == S_OK)
        OleSetClipboard(nullptr);
    if (exchange != nullptr) {
        std::shared_ptr<ShellExchange> detached = std::move(exchange);
        detached->Detach();
    }
    if (asyncOperation != nullptr) {
        IFileManagerAsyncOperation* companion = asyncOperation;
        asyncOperation = nullptr;
        CoDisconnectObject(companion, 0);
        companion->GiveUp();
        companion->Release();
    }
    if (dataObject != nullptr) {
        FMDataObject* data = dataObject;
        dataObject = nullptr;
        data->SetAsyncOperation(nullptr);
        data->ClearFormats();
        CoDisconnectObject(static_cast<IDataObject*>(data), 0);
        data->Release();
    }
    EndShellBusy();
}
