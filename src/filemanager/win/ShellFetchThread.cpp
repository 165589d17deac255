#include "filemanager/win/ShellFetchThread.h"

#include "filemanager/PhoneFileFetch.h"
#include "filemanager/win/FileManagerWindow.h"

namespace {

// The progress dialog as the fetch reports to it; a stop of the worker, the dialog's Cancel
// and a stream that went away all end the phone's transfer.
class FetchProgress : public OperationProgress {
public:
    FetchProgress(DialogProgressFileOperation* dialog, const ThreadObject& worker, const FetchBuffer& buffer)
        : dialog(dialog), worker(worker), buffer(buffer)
    {
    }
    bool IsCancelled() override
    {
        return worker.StopRequested() || buffer.Abandoned() || (dialog != nullptr && dialog->IsCancelled());
    }
    void SetFileSize(uint32_t size) override
    {
        if (dialog != nullptr)
            dialog->SetFileSize(size);
    }
    void AddTransferred(uint32_t bytes) override
    {
        if (dialog != nullptr)
            dialog->AddTransferred(bytes);
    }
    // Nothing of this thread's is on the screen.
    void PumpMessages() override {}

private:
    DialogProgressFileOperation* dialog;
    const ThreadObject& worker;
    const FetchBuffer& buffer;
};

}  // namespace

bool ShellFetchThread::StartFetch(FileManagerWindow* owner, std::shared_ptr<FetchBuffer> buffer,
                                  const PhoneItem& file, const GString& folder)
{
    if (IsRunning() || buffer == nullptr)
        return false;
    target = std::move(buffer);
    item = file;
    start = folder;
    lost.store(false);
    return StartFor(owner);
}

void ShellFetchThread::Body()
{
    FetchOutcome outcome;
    FetchProgress progress(window->progressDialog.get(), *this, *target);
    if (FTP* files = window->Session())
        outcome = FetchPhoneFile(*files, start, item, *target, &progress);
    lost.store(outcome.lost);
    target->Finish(outcome.whole && !progress.IsCancelled());
}
