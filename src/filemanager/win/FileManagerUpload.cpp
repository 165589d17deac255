// The file manager's upload of desktop files: the paste command, the drop, the work on the
// CopyFileThread and the word to the user about what was left out.
#include <memory>

#include "core/MessagePlatform.h"
#include "core/MessageReporter.h"
#include "filemanager/CopyEngine.h"
#include "filemanager/UploadList.h"
#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/WideNames.h"
#include "resources/resource.h"

namespace {

constexpr unsigned kWarningBox = MB_OK | MB_ICONWARNING;

// The progress dialog as the engine sees it; a stop of the worker counts as Cancel.
class UploadProgress : public CopyProgress {
public:
    UploadProgress(DialogProgressFileOperation& dialog, const ThreadObject& worker)
        : dialog(dialog), worker(worker)
    {
    }
    bool IsCancelled() override { return worker.StopRequested() || dialog.IsCancelled(); }
    void SetFileSize(uint32_t size) override { dialog.SetFileSize(size); }
    void AddTransferred(uint32_t bytes) override { dialog.AddTransferred(bytes); }
    void PumpMessages() override { dialog.PumpMessages(); }
    void SetSourceText(const GString& text) override { dialog.SetSourceText(text); }
    void SetTargetText(const GString& text) override { dialog.SetTargetText(text); }
    void SetFileCounter(uint32_t number, uint32_t count) override { dialog.SetFileCounter(number, count); }

private:
    DialogProgressFileOperation& dialog;
    const ThreadObject& worker;
};

// The questions of an upload: the failed transfers are asked over the progress dialog, the
// folder questions over the window, the replace questions on the window's thread. Once the
// worker is to stop, every question ends the upload.
class UploadQuestions : public CopyQuestions {
public:
    UploadQuestions(FileManagerWindow& window, const ThreadObject& worker) : window(window), worker(worker) {}

    bool AskContinue(uint32_t messageId, const GString& name) override
    {
        if (worker.StopRequested())
            return false;
        return AskContinueBox(messageId == kAskCopyFailed ? TransferOwner() : window.Handle(), messageId, name);
    }
    bool AskSizeLimit(const GString& name, SizeLimitSource& limit) override
    {
        return !worker.StopRequested() && AskSizeLimitBox(TransferOwner(), name, limit);
    }
    int AskReplace(const FolderObject& existing, const FileInformation& local, uint32_t count) override
    {
        return window.AskReplace(existing, local, count);
    }

private:
    HWND TransferOwner() const
    {
        HWND dialog = window.progressDialog != nullptr ? window.progressDialog->Handle() : nullptr;
        return dialog != nullptr ? dialog : window.Handle();
    }

    FileManagerWindow& window;
    const ThreadObject& worker;
};

// On the CopyFileThread: the upload itself; answers what it did not send.
std::vector<SkippedItem> Upload(FileManagerWindow& window, CopyFileThread& worker, const UploadList& list,
                                const GString& rootLabel)
{
    std::vector<SkippedItem> notSent = list.skipped;
    FTP* files = window.Session();
    if (files == nullptr || window.progressDialog == nullptr)
        return notSent;
    window.progressDialog->SetTotalSize(list.totalBytes);
    UploadQuestions questions(window, worker);
    UploadProgress progress(*window.progressDialog, worker);
    CopyEngine engine(*files, questions, progress, rootLabel);
    if (engine.Run(list) == CopyEngine::Outcome::NotAllowed) {
        for (const UploadRecord& record : list.records) {
            if (record.depth == 0)
                notSent.push_back({record.file.path, SkipReason::NotAccepted});
        }
    }
    notSent.insert(notSent.end(), engine.Skipped().begin(), engine.Skipped().end());
    return notSent;
}

}  // namespace

bool FileManagerWindow::CanTakeFiles() const
{
    return Session() != nullptr && capabilities.copyToDevice && !IsWorking() && busyCount == 0 &&
           (device == nullptr || !device->IsBusy());
}

void FileManagerWindow::PasteFiles()
{
    if (!CanTakeFiles())
        return;
    IDataObject* data = nullptr;
    if (OleGetClipboard(&data) != S_OK || data == nullptr)
        return;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (data->QueryGetData(&format) == S_OK) {
        STGMEDIUM medium{};
        const HRESULT got = data->GetData(&format, &medium);
        if (got == S_OK) {
            if (medium.tymed == TYMED_HGLOBAL)
                UploadDroppedFiles(static_cast<HDROP>(medium.hGlobal));
            ReleaseStgMedium(&medium);
        } else if (FAILED(got)) {
            Reporter().ReportFor(handle, MessageKind::SystemError, static_cast<uint32_t>(got));
        }
    }
    data->Release();
}

bool FileManagerWindow::UploadDroppedFiles(HDROP dropped)
{
    if (!CanTakeFiles() || dropped == nullptr || progressDialog == nullptr)
        return false;
    ChangeBusy(true);
    progressDialog->Open(this);
    progressDialog->SetSourceText("Подготовка операции...");
    auto list = std::make_shared<UploadList>();
    list->Collect(DroppedPaths(dropped), SystemFileSystem());
    bool started = false;
    if (!list->records.empty()) {
        const GString label = rootLabel;
        started = StartUpload([this, list, label](CopyFileThread& worker) {
            worker.notSent = SkippedItemsText(Upload(*this, worker, *list, label));
        });
    }
    if (!started)
        progressDialog->RequestClose();
    ChangeBusy(false);
    if (!started)
        NoteNotSent(SkippedItemsText(list->skipped));
    return started;
}

void FileManagerWindow::HandOverNotSent(const GString& text)
{
    SendMessageA(handle, QVM_FM_NOT_SENT, 0, reinterpret_cast<LPARAM>(&text));
}

void FileManagerWindow::NoteNotSent(const GString& text)
{
    if (text.IsEmpty())
        return;
    // Shown from the queue, never inside the drop or the worker's message: the source of a
    // drag and the worker go on meanwhile.
    notSentText = text;
    PostMessageA(handle, QVM_FM_SHOW_NOT_SENT, 0, 0);
}

void FileManagerWindow::ShowNotSent()
{
    if (notSentText.IsEmpty())
        return;
    const GString text = notSentText;
    notSentText = GString();
    GString caption;
    MessagePlatform::LoadText(IDS_CAPTION_WARNING, 256, caption);
    Reporter().ReportTextFor(handle, text.CStr(), caption.CStr(), kWarningBox);
}
