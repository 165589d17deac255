#include "filemanager/win/FileManagerWindow.h"

#include <algorithm>

#include "core/MessageReporter.h"
#include "core/Settings.h"
#include "devices/TComm.h"
#include "filemanager/FileManagerRules.h"
#include "filemanager/FolderSteps.h"
#include "filemanager/win/ConfirmDialogs.h"
#include "filemanager/win/ShellFormats.h"
#include "resources/resource.h"

namespace {

// The list's view when no setting says otherwise: the details table.
constexpr int kDefaultView = ListView::kReport;

// The session a worker opened, with the label its paths are shown under.
struct SessionOpened {
    FTP* files;
    GString label;
};

// A replace question carried to the window's thread.
struct ReplaceQuestion {
    const FolderObject* existing;
    const FileInformation* local;
    uint32_t count;
    int answer;
};

}  // namespace

void FileManagerWindow::ShowWaitCursor(bool waiting)
{
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(waiting ? IDC_APPSTARTING : IDC_ARROW)));
}

FileManagerWindow::FileManagerWindow()
{
    RegisterWindowClass(0, nullptr, nullptr, kClassName, CS_DBLCLKS);
    TheShellFormats();
}

FileManagerWindow::~FileManagerWindow()
{
    StopWorkers();
    // The phone's device may be going too: the copy is let go without telling it.
    shellBusy = false;
    DropShellData();
    LetGoOfDropTarget();
    if (device != nullptr)
        device->RemoveWork(this);
    DestroyNativeWindow();
}

bool FileManagerWindow::Create(const FileManagerHost& hostParts, Device* owner)
{
    if (handle != nullptr || hostParts.mainWindow == nullptr || hostParts.mainWindow->Handle() == nullptr)
        return false;
    host = hostParts;
    CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, host.mainWindow->Handle(), nullptr, GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    windowThread = GetCurrentThreadId();
    device = owner;
    progressDialog = std::make_unique<DialogProgressFileOperation>(host.settings);

    const int portKind = device != nullptr && device->port != nullptr ? device->port->kind : TComm::kSerial;
    if (pathLine.Create(this, portKind)) {
        pathLine.CopyFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        pathLineHeight = pathLine.Layout();
    }
    const int view = host.settings != nullptr ? host.settings->listViewStyle : kDefaultView;
    if (!listView.Create(this, view))
        return false;
    listView.SetSystemImageLists(host.smallImages, host.largeImages);
    listView.Clear();
    ShowWindow(listView.Handle(), SW_SHOW);
    popupMenu.LoadPopupMenu("FILEMANAGERMENUPOPUP");
    UpdateViewStyleMarks();
    if (device != nullptr)
        device->AddWork(this);
    dropTarget = new FileManager_IDropTarget(*this);
    dropTarget->Register(handle);
    // "Вставить" follows what the desktop puts on the clipboard.
    AddClipboardFormatListener(handle);
    return true;
}

bool FileManagerWindow::IsWorking() const
{
    return openThread.IsRunning() || readThread.IsRunning() || copyThread.IsRunning() || deleteThread.IsRunning() ||
           fetchThread.IsRunning();
}

void FileManagerWindow::StopWorkers()
{
    for (FileManagerThread* worker :
         std::initializer_list<FileManagerThread*>{&openThread, &readThread, &copyThread, &deleteThread, &fetchThread})
        worker->StopAndJoin();
}

void FileManagerWindow::StopAndWait()
{
    StopWorkers();
    if (handle == nullptr)
        return;
    // The session is given up on the window's own thread, after any command of the user that
    // is using it right now.
    if (GetCurrentThreadId() == windowThread)
        DropSession();
    else
        SendMessageA(handle, QVM_FM_DETACH, 0, 0);
}

bool FileManagerWindow::OpenSession()
{
    if (handle == nullptr || device == nullptr || IsWorking())
        return false;
    ChangeBusy(true);
    if (openThread.StartFor(this))
        return true;
    ChangeBusy(false);
    return false;
}

void FileManagerWindow::SendBusy(bool busy) { SendMessageA(handle, QVM_DEVICE_BUSY, 0, busy ? 1 : 0); }

void FileManagerWindow::OpenWaitPanel() { SendMessageA(handle, QVM_OPEN_WAIT, 0, 0); }

void FileManagerWindow::ChangeBusy(bool busy)
{
    // Only the first busy and the last idle reach the main window: a run that starts another
    // cannot free the phone while the second one works.
    const int before = busyCount;
    busyCount = busy ? busyCount + 1 : (busyCount > 0 ? busyCount - 1 : 0);
    const bool changed = busy ? before == 0 : (before == 1 && busyCount == 0);
    if (changed && device != nullptr && host.mainWindow != nullptr)
        SendMessageA(host.mainWindow->Handle(), QVM_DEVICE_BUSY, reinterpret_cast<WPARAM>(device), busy ? 1 : 0);
}

void FileManagerWindow::SetEnabled(bool enabled)
{
    if (!enabled && listView.Handle() != nullptr && GetFocus() == listView.Handle())
        listHadFocus = true;
    for (HWND part : {listView.Handle(), pathLine.Handle()}) {
        if (part != nullptr)
            EnableWindow(part, enabled ? TRUE : FALSE);
    }
    if (!enabled)
        return;
    // The keyboard goes back to the list unless the user has put it elsewhere meanwhile (a
    // closed progress dialog leaves it with the main window, a disabled list with nobody).
    HWND root = GetAncestor(listView.Handle(), GA_ROOT);
    HWND focus = GetFocus();
    if (listHadFocus && GetActiveWindow() == root && (focus == nullptr || focus == root) &&
        IsWindowVisible(listView.Handle()))
        SetFocus(listView.Handle());
    listHadFocus = false;
    UpdateStatus();
}

void FileManagerWindow::AttachSession(FTP* opened, const GString& label)
{
    SessionOpened session{opened, label};
    SendMessageA(handle, QVM_FM_ATTACH, 0, reinterpret_cast<LPARAM>(&session));
    FTP* files = Session();
    if (files == nullptr || device == nullptr)
        return;
    // Read on this thread only: the window writes the record only while no worker runs.
    const GString lastFolder = device->settings.lastFolder;
    if (folder_steps::SamePath(lastFolder, files->CurrentPath()))
        return;
    const auto note = [this](const GString& path) {
        MessageArgs args;
        args.text = path.CStr();
        Reporter().ReportFor(handle, MessageKind::ResourceText, IDS_NOTE_CHANGE_DIR_FAILED, args);
    };
    if (!files->ChangeFolder("\\")) {
        note("\\");
        return;
    }
    if (files->ChangeFolder(lastFolder) && folder_steps::SamePath(files->CurrentPath(), lastFolder))
        return;
    note(lastFolder);
    if (!files->ChangeFolder("\\"))
        note("\\");
}

void FileManagerWindow::TakeSession(FTP* opened)
{
    ftp.store(opened);
    if (opened == nullptr)
        return;
    if (device != nullptr)
        device->settings.fileManagerShown = 1;
    capabilities.copyFromDevice = opened->CanCopyFromDevice();
    capabilities.copyToDevice = opened->CanCopyToDevice();
    capabilities.canDelete = opened->CanDelete();
    capabilities.createFolder = opened->CanCreateFolder();
    capabilities.rename = opened->CanRename();
    if (host.commandState != nullptr) {
        host.commandState->paste = false;
        host.commandState->remove = false;
        host.commandState->copy = false;
        host.commandState->selectAll = true;
        host.commandState->refresh = true;
        host.commandState->viewStyle = true;
        host.commandState->Notify();
    }
}

void FileManagerWindow::DropSession()
{
    DropShellData();
    ftp.store(nullptr);
    rootLabel = GString();
    capabilities = FileAccessCapabilities();
    listView.Clear();
    pathLine.SetPath(GString());
    pathLine.EnableUp(false);
}

void FileManagerWindow::ReadFolderIntoList(const ThreadObject& worker)
{
    OpenWaitPanel();
    waitDialog.SetText("Чтение содержимого папки...");
    FolderSnapshot snapshot;
    if (FTP* files = Session()) {
        WorkerWait wait(waitDialog, worker);
        snapshot.listed = !wait.IsCancelled() && files->ReadFolder(&wait);
        if (snapshot.listed) {
            // Sorted here, on the worker, where it keeps no message waiting; the entries are
            // copied once, in the list's order.
            std::vector<const FolderObject*> order;
            order.reserve(files->entries.Count());
            for (ListIterator<FolderObject> it(files->entries); !it.IsDone(); it.Next())
                order.push_back(it.CurrentItem());
            std::stable_sort(order.begin(), order.end(),
                             [](const FolderObject* a, const FolderObject* b) { return CompareEntries(a, b) < 0; });
            snapshot.entries.reserve(order.size());
            for (const FolderObject* entry : order)
                snapshot.entries.push_back(*entry);
            snapshot.memoryFree = files->memoryFree;
            snapshot.memoryTotal = files->memoryTotal;
        }
        snapshot.path = files->CurrentPath();
    }
    SendMessageA(handle, QVM_FM_LISTED, 0, reinterpret_cast<LPARAM>(&snapshot));
}

void FileManagerWindow::ShowSnapshot(FolderSnapshot& snapshot)
{
    if (snapshot.listed) {
        listView.ShowEntries(std::move(snapshot.entries));
        if (device != nullptr)
            device->settings.lastFolder = snapshot.path;
        memoryKnown = true;
        knownMemoryFree = snapshot.memoryFree;
        knownMemoryTotal = snapshot.memoryTotal;
    } else {
        listView.Clear();
    }
    // The path line shows where the phone stands, also when the listing failed.
    GString shown(rootLabel);
    shown.Append(snapshot.path);
    pathLine.SetPath(shown);
    pathLine.EnableUp(!snapshot.path.IsEmpty());
    waitDialog.Close();
    ShowWaitCursor(false);
    if (IsWindowVisible(handle))
        SetFocus(listView.Handle());
    UpdateStatus();
}

void FileManagerWindow::Refresh()
{
    if (Session() == nullptr || IsWorking())
        return;
    // What was copied from the folder shown until now is no longer offered.
    DropShellData();
    ShowWaitCursor(true);
    readThread.StartFor(this);
}

ListStatus FileManagerWindow::CurrentListStatus() const
{
    std::vector<const FolderObject*> items = listView.AllEntries();
    if (listView.HasPlaceholder())
        items.push_back(nullptr);
    return ComputeListStatus(items, listView.SelectedEntries(), capabilities,
                             IsClipboardFormatAvailable(CF_HDROP) != FALSE);
}

void FileManagerWindow::UpdateStatus()
{
    statusPending = false;
    if (handle == nullptr || !IsWindowVisible(handle))
        return;
    const ListStatus status = CurrentListStatus();
    if (host.commandState != nullptr) {
        host.commandState->copy = status.commands.copy;
        host.commandState->remove = status.commands.del;
        host.commandState->paste = status.commands.paste;
        host.commandState->rename = status.commands.rename;
        host.commandState->refresh = Session() != nullptr;
        host.commandState->selectAll = true;
        host.commandState->viewStyle = true;
        host.commandState->Notify();
    }
    if (host.status != nullptr) {
        host.status->ShowText(status.text);
        host.status->ShowSize(status.size, !status.showSize);
        if (memoryKnown)
            host.status->ShowMemory(knownMemoryFree, knownMemoryTotal, false);
    }
}

void FileManagerWindow::ScheduleStatus()
{
    // A selection dragged over a thousand rows changes each of them: one update follows.
    if (statusPending)
        return;
    statusPending = true;
    PostMessageA(handle, QVM_FM_STATUS, 0, 0);
}

void FileManagerWindow::UpdateViewStyleMarks()
{
    const uint32_t command = CommandForViewCode(listView.GetView());
    if (command == 0)
        return;
    popupMenu.SetRadioCheck(IDM_VIEW_LARGE_ICONS, IDM_VIEW_DETAILS, command);
    if (host.mainMenu != nullptr)
        host.mainMenu->SetRadioCheck(IDM_VIEW_LARGE_ICONS, IDM_VIEW_DETAILS, command);
}

void FileManagerWindow::ApplyViewStyle(int viewCode)
{
    if (CommandForViewCode(viewCode) == 0)
        return;
    listView.SetView(static_cast<ListView::View>(viewCode));
    if (host.settings != nullptr)
        host.settings->listViewStyle = static_cast<uint8_t>(viewCode);
    UpdateViewStyleMarks();
}

int FileManagerWindow::AskReplace(const FolderObject& existing, const FileInformation& local, uint32_t count)
{
    if (copyThread.IsRunning() && copyThread.StopRequested())
        return kReplaceCancel;
    ReplaceQuestion question{&existing, &local, count, kReplaceCancel};
    SendMessageA(handle, QVM_FM_ASK_REPLACE, 0, reinterpret_cast<LPARAM>(&question));
    return question.answer;
}

bool FileManagerWindow::StartUpload(CopyFileThread::Upload job)
{
    if (Session() == nullptr || IsWorking() || !job)
        return false;
    ChangeBusy(true);
    if (progressDialog != nullptr)
        progressDialog->Open(this);
    if (copyThread.StartUpload(this, std::move(job)))
        return true;
    if (progressDialog != nullptr)
        progressDialog->RequestClose();
    ChangeBusy(false);
    return false;
}

void FileManagerWindow::AfterFolderChange(const GString& before)
{
    FTP* files = Session();
    if (files != nullptr && !folder_steps::SamePath(before, files->CurrentPath()))
        Refresh();
}

void FileManagerWindow::OpenSelected()
{
    FTP* files = Session();
    if (files == nullptr || listView.RowCount() == 0 || IsWorking())
        return;
    ShowWaitCursor(true);
    // Only the first selected folder is tried; selected files are passed over.
    for (int row = listView.NextSelected(-1); row >= 0; row = listView.NextSelected(row)) {
        const FolderObject* entry = listView.EntryAt(row);
        if (entry == nullptr || entry->type != FolderObject::kFolder)
            continue;
        const GString before = files->CurrentPath();
        // A listed name such as ".." or "a\\b" is never passed on: the phone would go to
        // another folder than the one the list shows.
        folder_steps::EnterListed(*files, entry->name);
        AfterFolderChange(before);
        break;
    }
    SetFocus(listView.Handle());
    if (!IsWorking())
        ShowWaitCursor(false);
}

void FileManagerWindow::GoUp()
{
    FTP* files = Session();
    if (files == nullptr || IsWorking())
        return;
    const GString before = files->CurrentPath();
    if (!before.IsEmpty()) {
        files->ChangeFolder("..");
        AfterFolderChange(before);
    }
    SetFocus(listView.Handle());
}

void FileManagerWindow::NewFolder()
{
    if (Session() == nullptr || !capabilities.createFolder || IsWorking() || listView.HasPlaceholder())
        return;
    const int row = listView.AddPlaceholder();
    SetFocus(listView.Handle());
    newFolderPending = true;
    HWND edit = listView.EditLabel(row);
    if (edit == nullptr) {
        newFolderPending = false;
        listView.RemovePlaceholder();
        return;
    }
    // Confirming the placeholder's text unchanged still delivers it.
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
}

void FileManagerWindow::RenameFocused()
{
    if (Session() == nullptr || !capabilities.rename || IsWorking())
        return;
    if ((GetWindowLongPtrA(listView.Handle(), GWL_STYLE) & LVS_EDITLABELS) == 0)
        return;
    const int row = listView.FocusedItem();
    if (row < 0 || listView.EntryAt(row) == nullptr)
        return;
    if ((ListView_GetItemState(listView.Handle(), row, LVIS_SELECTED) & LVIS_SELECTED) == 0)
        return;
    SetFocus(listView.Handle());
    listView.EditLabel(row);
}

LRESULT FileManagerWindow::OnBeginLabelEdit(const NMLVDISPINFOA* info)
{
    editOldName = listView.ItemText(info->item.iItem, 0);
    if (editOldName.Length() > 259)
        editOldName.Assign(editOldName.CStr(), 259);
    // TRUE keeps the label from being edited.
    return MayEditLabel(editOldName) ? FALSE : TRUE;
}

LRESULT FileManagerWindow::OnEndLabelEdit(const NMLVDISPINFOA* info)
{
    const LabelEditDecision decision = DecideLabelEdit(editOldName, newFolderPending, info->item.pszText);
    FTP* files = IsWorking() ? nullptr : Session();
    ShowWaitCursor(true);
    LRESULT accepted = FALSE;
    if (newFolderPending) {
        newFolderPending = false;
        listView.RemovePlaceholder();
        if (decision.action == LabelEditAction::CreateFolder && files != nullptr &&
            files->CreateFolder(decision.name)) {
            Refresh();
            accepted = TRUE;
        }
    } else if (decision.action == LabelEditAction::Keep) {
        accepted = TRUE;
    } else if (decision.action == LabelEditAction::Rename && files != nullptr) {
        editNewName = decision.name;
        if (files->RenameObject(editOldName, editNewName)) {
            listView.RenameEntry(info->item.iItem, editNewName);
            accepted = TRUE;
        }
    }
    if (!IsWorking())
        ShowWaitCursor(false);
    return accepted;
}

void FileManagerWindow::DeleteSelected()
{
    if (Session() == nullptr || IsWorking())
        return;
    const std::vector<const FolderObject*> selected = listView.SelectedEntries();
    if (selected.empty())
        return;
    const int answer = ConfirmDelete(this, selected);
    // The session may have gone while the question was up.
    if (answer != IDYES || Session() == nullptr || IsWorking()) {
        SetFocus(listView.Handle());
        return;
    }
    std::vector<FolderObject> selection;
    for (const FolderObject* entry : selected)
        selection.push_back(*entry);
    StartDelete(std::move(selection));
}

void FileManagerWindow::StartDelete(std::vector<FolderObject> selection)
{
    deleteThread.selection = std::move(selection);
    ChangeBusy(true);
    if (!deleteThread.StartFor(this)) {
        deleteThread.selection.clear();
        ChangeBusy(false);
    }
}

void FileManagerWindow::SelectAll()
{
    listView.SelectAll();
    UpdateStatus();
}

void FileManagerWindow::ShowContextMenu()
{
    UpdateStatus();
    const ListStatus status = CurrentListStatus();
    const PopupMenuStates states = PopupStatesFor(capabilities, status.commands);
    popupMenu.Enable(IDM_NEW_FOLDER, states.newFolder && Session() != nullptr);
    popupMenu.Enable(IDM_COPY, states.copy);
    popupMenu.Enable(IDM_PASTE, states.paste);
    popupMenu.Enable(IDM_DELETE, states.remove);
    popupMenu.Enable(IDM_RENAME, states.rename);
    POINT at{};
    GetCursorPos(&at);
    popupMenu.TrackPopup(0, handle, at.x, at.y);
}

LRESULT FileManagerWindow::OnKeyDown(const NMLVKEYDOWN* key)
{
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key->wVKey) {
    case VK_BACK: GoUp(); break;
    case VK_DELETE: DeleteSelected(); break;
    case VK_F5: Refresh(); break;
    case 'A':
        if (control)
            SelectAll();
        break;
    case 'C':
        if (control)
            CopySelection();
        break;
    case 'V':
        if (control)
            PasteFiles();
        break;
    default: break;
    }
    return 0;
}

LRESULT FileManagerWindow::OnCommand(int, int id, HWND)
{
    switch (id) {
    case IDM_NEW_FOLDER: NewFolder(); return 0;
    case IDM_RENAME: RenameFocused(); return 0;
    case IDM_DELETE: DeleteSelected(); return 0;
    case IDM_SELECT_ALL: SelectAll(); return 0;
    case IDM_COPY: CopySelection(); return 0;
    case IDM_GO_UP: GoUp(); return 0;
    case IDM_REFRESH: Refresh(); return 0;
    case IDM_PASTE: PasteFiles(); return 0;
    case IDM_VIEW_LARGE_ICONS:
    case IDM_VIEW_SMALL_ICONS:
    case IDM_VIEW_LIST:
    case IDM_VIEW_DETAILS: ApplyViewStyle(ViewCodeForCommand(static_cast<uint32_t>(id))); return 0;
    default: return kNotHandled;
    }
}

LRESULT FileManagerWindow::OnNotify(int, NMHDR* header)
{
    if (header == nullptr || header->hwndFrom != listView.Handle())
        return kNotHandled;
    switch (header->code) {
    case LVN_GETDISPINFOA: listView.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(header)); return 0;
    case LVN_ODFINDITEMA: {
        const int found = listView.FindItem(reinterpret_cast<NMLVFINDITEMA*>(header));
        // Nothing found: the focus stays where it is (-1 cannot be answered through the
        // window base, which reads it as "not handled").
        return found >= 0 ? found : (listView.FocusedItem() >= 0 ? listView.FocusedItem() : 0);
    }
    case LVN_KEYDOWN: return OnKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header));
    case NM_RETURN:
    case NM_DBLCLK: OpenSelected(); return 0;
    case NM_CLICK: UpdateStatus(); return 0;
    case NM_RCLICK: ShowContextMenu(); return 0;
    case LVN_BEGINDRAG: DragOut(); return 0;
    case LVN_BEGINLABELEDITA: return OnBeginLabelEdit(reinterpret_cast<NMLVDISPINFOA*>(header));
    case LVN_ENDLABELEDITA: return OnEndLabelEdit(reinterpret_cast<NMLVDISPINFOA*>(header));
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: ScheduleStatus(); return 0;
    default: return kNotHandled;
    }
}

LRESULT FileManagerWindow::OnSize(int width, int height, UINT)
{
    if (pathLine.Handle() != nullptr)
        MoveWindow(pathLine.Handle(), 0, 0, width, pathLineHeight, TRUE);
    if (listView.Handle() != nullptr)
        MoveWindow(listView.Handle(), 0, pathLineHeight, width, height - pathLineHeight - 1, TRUE);
    // An open wait panel stays in the middle.
    if (waitDialog.Handle() != nullptr && IsWindowVisible(waitDialog.Handle())) {
        RECT own{};
        GetWindowRect(waitDialog.Handle(), &own);
        const int x = width / 2 - (own.right - own.left) / 2;
        const int y = height / 2 - (own.bottom - own.top) / 2;
        SetWindowPos(waitDialog.Handle(), HWND_TOP, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT FileManagerWindow::OnSetFocus(HWND)
{
    UpdateStatus();
    if (listView.Handle() != nullptr && IsWindowEnabled(listView.Handle()))
        SetFocus(listView.Handle());
    return 0;
}

LRESULT FileManagerWindow::OnClose()
{
    StopWorkers();
    DropShellData();
    LetGoOfDropTarget();
    for (HWND part : {pathLine.Handle(), listView.Handle()}) {
        if (part != nullptr)
            DestroyWindow(part);
    }
    return kNotHandled;
}

LRESULT FileManagerWindow::OnDestroy()
{
    // Gone with its parent, without a close first.
    LetGoOfDropTarget();
    RemoveClipboardFormatListener(handle);
    return 0;
}

void FileManagerWindow::LetGoOfDropTarget()
{
    if (dropTarget == nullptr)
        return;
    dropTarget->Detach();
    dropTarget->Release();
    dropTarget = nullptr;
}

LRESULT FileManagerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFYFORMAT:
        // The program's texts are ANSI: the list sends its notifications in the A forms.
        return NFR_ANSI;
    case QVM_OPEN_WAIT:
        if (!waitDialog.IsOpen())
            waitDialog.Open(this, "", 1);
        return 0;
    case QVM_DEVICE_BUSY: ChangeBusy(lParam != 0); return 0;
    case QVM_FM_ATTACH: {
        auto* session = reinterpret_cast<SessionOpened*>(lParam);
        rootLabel = session->label;
        TakeSession(session->files);
        return 0;
    }
    case QVM_FM_LISTED: ShowSnapshot(*reinterpret_cast<FolderSnapshot*>(lParam)); return 0;
    case QVM_FM_ASK_REPLACE: {
        auto* question = reinterpret_cast<ReplaceQuestion*>(lParam);
        question->answer =
            AskReplaceDialog(this, *question->existing, *question->local, question->count, host.largeImages);
        return 0;
    }
    case QVM_FM_STATUS:
        if (statusPending)
            UpdateStatus();
        return 0;
    case QVM_FM_DETACH: DropSession(); return 0;
    case QVM_FM_SHELL_CHECK: CheckShellExchange(); return 0;
    case WM_TIMER:
        if (wParam != kShellIdleTimer)
            return TWindow::WindowProc(hwnd, message, wParam, lParam);
        OnShellIdleTimer();
        return 0;
    case WM_CLIPBOARDUPDATE: ScheduleStatus(); return 0;
    case QVM_FM_NOT_SENT: NoteNotSent(*reinterpret_cast<const GString*>(lParam)); return 0;
    case QVM_FM_SHOW_NOT_SENT: ShowNotSent(); return 0;
    default: return TWindow::WindowProc(hwnd, message, wParam, lParam);
    }
}
