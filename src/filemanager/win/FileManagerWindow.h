// The file manager of one phone: the path line above the phone's current folder as a list,
// in one of four views. Everything that talks to the phone for long runs on the window's
// workers, which hand the window a finished snapshot of each listing; the window fills the
// list from it on its own thread. The window keeps the phone busy from the start of a worker
// to its end (counted, so that nested runs cannot free the phone early), and stops and waits
// for its workers before it, the session or the phone goes.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/GString.h"
#include "core/Subject.h"
#include "devices/Device.h"
#include "filemanager/ListLogic.h"
#include "filemanager/StatusSink.h"
#include "filemanager/win/DialogProgressFileOperation.h"
#include "filemanager/win/FileManagerDropTarget.h"
#include "filemanager/win/FileManagerListView.h"
#include "filemanager/win/FileManagerThreads.h"
#include "filemanager/win/PathLineBrowserWindow.h"
#include "filemanager/win/ShellFetchThread.h"
#include "obex/FTP.h"
#include "toolkit/win/DialogWait.h"
#include "toolkit/win/GMenu.h"
#include "toolkit/win/TWindow.h"

struct SettingsValues;
class FetchBuffer;
class FMDataObject;
class IFileManagerAsyncOperation;
class ShellExchange;

// What the window uses of the main window. Only mainWindow is required.
struct FileManagerHost {
    TWindow* mainWindow = nullptr;                // parent; told of busy phones and failed sessions
    CommandStateSubject* commandState = nullptr;  // the commands' enabled states
    StatusSink* status = nullptr;                 // the status bar
    GMenu* mainMenu = nullptr;                    // carries the style marks too
    SettingsValues* settings = nullptr;           // listViewStyle and the progress dialog's place
    HIMAGELIST smallImages = nullptr;             // the shell's system image lists
    HIMAGELIST largeImages = nullptr;
};

// What a listing worker hands the window once it is done.
struct FolderSnapshot {
    bool listed = false;
    std::vector<FolderObject> entries;
    GString path;  // the folder the phone stands in
    uint32_t memoryFree = 0;
    uint32_t memoryTotal = 0;
};

class FileManagerWindow : public TWindow, public StoppableWork {
public:
    static constexpr const char* kClassName = "qv_FileManagerWindow";

    FileManagerWindow();
    ~FileManagerWindow() override;

    // Creates the hidden window as a child of the main window for the device.
    bool Create(const FileManagerHost& host, Device* device);

    // The main window shows this view and no session is open: opens it on the OpenFTPThread,
    // which also goes to the phone's last folder and lists it. False while work runs.
    bool OpenSession();
    bool HasSession() const { return ftp.load() != nullptr && !rootLabel.IsEmpty(); }
    // Re-reads the current folder on the ReadDirThread.
    void Refresh();
    void UpdateStatus();
    void UpdateViewStyleMarks();
    // Applies a view code (ListView::View) to the list and keeps it as the program's setting.
    void ApplyViewStyle(int viewCode);
    // The main window switches the view off while the phone is busy: the list and the path
    // line are disabled, the wait panel and its Cancel button stay usable.
    void SetEnabled(bool enabled);
    // Starts editing the name of the focused item when it is selected and the phone renames.
    void RenameFocused();
    // Runs an upload into the current folder on the CopyFileThread with the progress dialog
    // open; false while other work runs.
    bool StartUpload(CopyFileThread::Upload job);
    // The replace question of an upload, asked on the window's thread; from a worker that is
    // to stop, "Отмена" without asking. Answers kReplace*.
    int AskReplace(const FolderObject& existing, const FileInformation& local, uint32_t count);
    bool IsWorking() const;

    // Desktop files into the phone's current folder, from the clipboard (205, Ctrl+V) or a
    // drop: the paths of the list are collected on this thread, then sent on the
    // CopyFileThread with the progress dialog open. What is left out is told at the end.
    void PasteFiles();
    // False when nothing went up (nothing to send, the phone busy or taking no files).
    bool UploadDroppedFiles(HDROP files);
    // The session is open, the phone takes files and no work runs.
    bool CanTakeFiles() const;
    // A drag that started in this window runs: its own data is not dropped back.
    bool IsDraggingOut() const { return draggingOut; }
    void SetDraggingOut(bool running) { draggingOut = running; }
    // The copy worker hands over the text of what an upload did not send (sent; the window
    // shows it once its queue gets there).
    void HandOverNotSent(const GString& text);
    // The target registered for drops on the window; null once the window is going.
    IDropTarget* DropTarget() const { return dropTarget; }

    // StoppableWork: stops the workers, waits for them and gives up the session (the phone's file
    // access is about to go).
    void StopAndWait() override;

    // For the workers.
    FTP* Session() const { return ftp.load(); }
    GString RootLabel() const { return rootLabel; }
    Device* OwnerDevice() const { return device; }
    TWindow* MainWindow() const { return host.mainWindow; }
    // Marks the phone busy or idle through the window (sent; any thread).
    void SendBusy(bool busy);
    // Opens the wait panel unless it is open (sent; any thread).
    void OpenWaitPanel();
    // Lists the current folder on the calling worker and hands the window the snapshot.
    void ReadFolderIntoList(const ThreadObject& worker);
    // The session is open: the window takes it (sent), then the phone goes to its last
    // folder, reporting a folder it cannot reach.
    void AttachSession(FTP* opened, const GString& label);

    FileManagerListView listView;
    PathLineBrowserWindow pathLine;
    DialogWait waitDialog;
    std::unique_ptr<DialogProgressFileOperation> progressDialog;  // made by Create
    GMenu popupMenu;
    OpenFTPThread openThread;
    ReadDirThread readThread;
    CopyFileThread copyThread;
    DeleteFileThread deleteThread;

    // Copying to the desktop (FileManagerShellOut.cpp). The selection and the trees of its
    // folders become the data object the clipboard or a drag offers; false when nothing
    // could be offered.
    bool BuildDataObject();
    // 204 and Ctrl+C: the data object goes on the clipboard.
    bool CopySelection();
    // The list's begin-drag: a drag that may copy or move the selection to the desktop.
    void DragOut();
    // Whether a copy of this window is still offered (on the clipboard or in a drag).
    bool OffersShellData() const { return dataObject != nullptr; }
    // For the copy's shell objects, on the window's thread. Starts reading the file at index
    // of the copy into buffer: S_OK, E_PENDING while other work has the phone, or
    // STG_E_READFAULT when it cannot be read (no session, the phone lost its folder).
    HRESULT StartShellFetch(ShellExchange& from, size_t index, std::shared_ptr<FetchBuffer> buffer);
    // The fetch of a stream of from has finished.
    void ShellFetchEnded(ShellExchange& from);
    bool ShellCopyCancelled() const;
    // The receiver of a paste reported that it is done.
    void ShellPasteDone();
    void ShellOperationStarted();
    void ShellOperationEnded(HRESULT result, DWORD effects);
    ShellFetchThread fetchThread;

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    LRESULT OnNotify(int id, NMHDR* header) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnSetFocus(HWND losing) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;

private:
    void ChangeBusy(bool busy);
    void TakeSession(FTP* opened);
    void DropSession();
    void ShowSnapshot(FolderSnapshot& snapshot);
    void StopWorkers();

    void OpenSelected();
    void GoUp();
    void NewFolder();
    void DeleteSelected();
    void SelectAll();
    void ShowContextMenu();
    LRESULT OnKeyDown(const NMLVKEYDOWN* key);
    LRESULT OnBeginLabelEdit(const NMLVDISPINFOA* info);
    LRESULT OnEndLabelEdit(const NMLVDISPINFOA* info);
    void ScheduleStatus();
    // The folder the phone stands in changed (or may have): the list follows.
    void AfterFolderChange(const GString& before);
    void NoteNotSent(const GString& text);
    void ShowNotSent();
    // Revokes the drop target and gives up the window's reference; a caller that still holds
    // it finds a target cut off from the window.
    void LetGoOfDropTarget();

    // Copying to the desktop.
    static constexpr UINT_PTR kShellIdleTimer = 7001;
    void CheckShellExchange();
    void OnShellIdleTimer();
    // Takes this window's data off the clipboard, cuts every receiver off it and frees the
    // phone; the window's state of the copy is cleared.
    void DropShellData();
    void BeginShellBusy();
    void EndShellBusy();
    // After a move: deletes what the receiver took whole from start (the current folder).
    void StartMoveDelete(const std::vector<FolderObject>& selection, const GString& start);
    // Deletes selection on the delete worker, the phone busy meanwhile.
    void StartDelete(std::vector<FolderObject> selection);
    static void ShowWaitCursor(bool waiting);
    // Counts, sizes and command states of the list as it stands.
    ListStatus CurrentListStatus() const;
    FMDataObject* dataObject = nullptr;  // one reference held
    std::shared_ptr<ShellExchange> exchange;
    IFileManagerAsyncOperation* asyncOperation = nullptr;  // one reference held
    bool shellBusy = false;

    FileManagerHost host;
    Device* device = nullptr;
    std::atomic<FTP*> ftp{nullptr};
    GString rootLabel;
    FileAccessCapabilities capabilities;
    int pathLineHeight = 0;
    int busyCount = 0;
    bool newFolderPending = false;
    // The list had the keyboard when the phone became busy (disabling it took the focus away).
    bool listHadFocus = false;
    bool statusPending = false;
    // The phone's memory as the last listing gave it: shown again after a busy spell that
    // cleared the status bar without listing anew (a copy to the desktop).
    bool memoryKnown = false;
    uint32_t knownMemoryFree = 0;
    uint32_t knownMemoryTotal = 0;
    bool draggingOut = false;
    FileManager_IDropTarget* dropTarget = nullptr;  // one reference
    GString notSentText;  // waits for QVM_FM_SHOW_NOT_SENT
    GString editOldName;
    GString editNewName;
    DWORD windowThread = 0;
};
