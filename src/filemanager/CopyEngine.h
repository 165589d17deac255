// The upload of desktop files and folder trees into the phone's current folder: folders are
// created and entered, existing objects replaced or merged after asking, every failure asked
// about. Runs on the copy worker over a list collected beforehand (UploadList).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "filemanager/OperationQuestions.h"
#include "filemanager/SkippedItems.h"
#include "filemanager/UploadList.h"
#include "obex/FTP.h"
#include "obex/Progress.h"

// The progress dialog of an upload. The transfer itself reports through OperationProgress;
// IsCancelled also stands for a stop request of the worker.
class CopyProgress : public OperationProgress {
public:
    virtual void SetSourceText(const GString& text) = 0;
    virtual void SetTargetText(const GString& text) = 0;
    // number: the file's 1-based place among the count files of the upload.
    virtual void SetFileCounter(uint32_t number, uint32_t count) = 0;
};

class CopyEngine {
public:
    enum class Outcome {
        NotAllowed,   // the phone takes no files: nothing was sent
        Finished,     // every record was tried
        Ended,        // cancelled, or "Нет" / "Отмена" to a question
        WrongFolder,  // the phone could not be brought back to a folder: the upload stopped
    };

    // rootLabel is put in front of the phone's path in the target text ("NOKIA:").
    CopyEngine(FTP& ftp, CopyQuestions& questions, CopyProgress& progress,
               const GString& rootLabel)
        : ftp(ftp), questions(questions), progress(progress), rootLabel(rootLabel)
    {
    }

    // Uploads the records into the current folder. Dropped objects from several desktop
    // folders go up group by group, the phone's folder re-read before each group so that an
    // object named like one of an earlier group is asked about too. The phone ends in the folder
    // it started in when it can be brought back.
    Outcome Run(const UploadList& list);
    // Folders the phone could not be brought back to (the upload stopped there).
    const std::vector<SkippedItem>& Skipped() const { return skipped; }

private:
    enum class Flow { Go, End };

    Flow CopyLevel(size_t begin, size_t end, const GString& folder,
                   const std::vector<FolderObject>& existing, bool merging);
    Flow EnterAndCopy(size_t begin, size_t end, const GString& folder, const GString& name,
                      bool merging);
    Flow Put(const UploadRecord& record, const GString& name);
    // Lists the current folder into existing; false when the phone gives no listing.
    bool ReadLevel(std::vector<FolderObject>& existing);
    // Brings the phone back to folder when it is elsewhere; false (the upload stops) when
    // that fails.
    bool Guard(const GString& folder);
    size_t SubtreeEnd(size_t index, size_t end) const;
    Flow Ask(uint32_t messageId, const GString& name);

    FTP& ftp;
    CopyQuestions& questions;
    CopyProgress& progress;
    GString rootLabel;
    const UploadList* list = nullptr;
    int answer = 0;  // the last replace answer; kReplaceCancel ends the upload
    bool wrongFolder = false;
    std::vector<SkippedItem> skipped;
};
