// The file manager's four workers: opening the session, reading the current folder, deleting
// a selection and uploading. Each object belongs to its window and runs one operation at a
// time. They reach the window only by sent messages and by the values they store in its wait
// and progress dialogs. Every run can be stopped (the window closing, the port going) and
// waited for; a stop also answers the worker's open questions with "Нет".
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/ThreadObject.h"
#include "filemanager/DeleteWalk.h"
#include "filemanager/OperationQuestions.h"
#include "obex/FTP.h"
#include "obex/Progress.h"

class DialogWait;
class FileManagerWindow;

class FileManagerThread : public ThreadObject {
public:
    FileManagerThread();
    ~FileManagerThread() override;

    // A stop asked for before the thread got going must not be forgotten: the flag is cleared
    // when the run is started, not here.
    void Prepare() override {}
    void Run() final;

    // Starts a run for the window; false while one goes or when no thread could be made.
    bool StartFor(FileManagerWindow* owner);
    // Asks the run to end and waits for it. On the window's thread the messages the worker
    // sends meanwhile are handled, so a worker waiting for the window still gets its answer.
    void StopAndJoin();

protected:
    virtual void Body() = 0;
    // True once a stop was asked for.
    bool Stopping() const { return StopRequested(); }

    FileManagerWindow* window = nullptr;

private:
    // Ends the message boxes the worker shows (with "Нет") so that it can see the stop.
    void CloseQuestionBoxes() const;

    HANDLE finished;  // set when a run's body has returned
};

// The wait panel as a listing sees it: the panel's bar, cancelled by its Cancel button or by
// a stop of the worker.
class WorkerWait : public WaitProgress {
public:
    WorkerWait(DialogWait& panel, const ThreadObject& worker) : panel(panel), worker(worker) {}
    void SetRange(uint32_t low, uint32_t high) override;
    void Step() override;
    bool IsCancelled() override;

private:
    DialogWait& panel;
    const ThreadObject& worker;
};

// The continue questions of a worker, as message boxes owned by the window; once the worker
// is to stop every question answers "Нет" without asking.
class WorkerQuestions : public ContinueQuestions {
public:
    WorkerQuestions(HWND owner, const ThreadObject& worker) : owner(owner), worker(worker) {}
    bool AskContinue(uint32_t messageId, const GString& name) override;

private:
    HWND owner;
    const ThreadObject& worker;
};

// Opens the phone's file access, goes to the phone's last folder and lists it, all in one
// run: the window stays busy from the start to the filled list.
class OpenFTPThread : public FileManagerThread {
protected:
    void Body() override;
};

// Re-reads the current folder.
class ReadDirThread : public FileManagerThread {
protected:
    void Body() override;
};

// Deletes a copy of the selection taken on the window's thread, then re-reads the folder.
class DeleteFileThread : public FileManagerThread {
public:
    std::vector<FolderObject> selection;

protected:
    void Body() override;
};

// Runs one upload, then re-reads the folder. The upload itself is handed in with the start
// (the copy engine over the collected records) and runs on this thread.
class CopyFileThread : public FileManagerThread {
public:
    using Upload = std::function<void(CopyFileThread& worker)>;
    // The job stops once StopRequested() answers true (the window closing, the port going).
    bool StartUpload(FileManagerWindow* owner, Upload job);

    // Set by the job: what the upload left out, handed to the window once the phone is free.
    GString notSent;

protected:
    void Body() override;

private:
    Upload upload;
};
