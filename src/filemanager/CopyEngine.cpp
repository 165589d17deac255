#include "filemanager/CopyEngine.h"

#include <cstring>

#include "filemanager/FolderSteps.h"
#include "obex/FtpSizeLimit.h"

using folder_steps::ChildPath;
using folder_steps::EnterListed;
using folder_steps::ReturnTo;
using folder_steps::SamePath;

namespace {

const FolderObject* FindExisting(const std::vector<FolderObject>& existing, const char* name)
{
    for (const FolderObject& entry : existing) {
        if (std::strcmp(entry.name.CStr(), name) == 0 && !entry.name.IsEmpty())
            return &entry;
    }
    return nullptr;
}

}  // namespace

CopyEngine::Outcome CopyEngine::Run(const UploadList& upload)
{
    if (!ftp.CanCopyToDevice())
        return Outcome::NotAllowed;
    list = &upload;
    answer = 0;
    wrongFolder = false;
    skipped.clear();
    const GString start = ftp.CurrentPath();
    const size_t count = upload.records.size();
    size_t begin = 0;
    while (begin < count && answer != kReplaceCancel && !wrongFolder) {
        const uint32_t group = upload.records[begin].group;
        size_t end = begin + 1;
        while (end < count &&
               !(upload.records[end].depth == 0 && upload.records[end].group != group))
            ++end;
        std::vector<FolderObject> existing;
        if (!Guard(start))
            break;
        if (!ReadLevel(existing)) {
            if (Ask(kAskChangeDirFailed, start.IsEmpty() ? GString("\\") : start) == Flow::End)
                break;
        } else if (CopyLevel(begin, end, start, existing, false) == Flow::End) {
            break;
        }
        begin = end;
    }
    if (!SamePath(ftp.CurrentPath(), start)) {
        GString failedStep;
        ReturnTo(ftp, start, failedStep);
    }
    list = nullptr;
    if (wrongFolder)
        return Outcome::WrongFolder;
    return answer == kReplaceCancel || progress.IsCancelled() ? Outcome::Ended
                                                              : Outcome::Finished;
}

size_t CopyEngine::SubtreeEnd(size_t index, size_t end) const
{
    const uint32_t depth = list->records[index].depth;
    size_t next = index + 1;
    while (next < end && list->records[next].depth > depth)
        ++next;
    return next;
}

CopyEngine::Flow CopyEngine::Ask(uint32_t messageId, const GString& name)
{
    if (questions.AskContinue(messageId, name))
        return Flow::Go;
    answer = kReplaceCancel;
    return Flow::End;
}

bool CopyEngine::Guard(const GString& folder)
{
    if (SamePath(ftp.CurrentPath(), folder))
        return true;
    GString failedStep;
    if (ReturnTo(ftp, folder, failedStep))
        return true;
    wrongFolder = true;
    skipped.push_back({failedStep, SkipReason::WrongFolder});
    return false;
}

bool CopyEngine::ReadLevel(std::vector<FolderObject>& existing)
{
    existing.clear();
    if (!ftp.ReadFolder(nullptr))
        return false;
    // A copy: nested levels replace the object's entries.
    ListIterator<FolderObject> it(ftp.entries);
    for (it.First(); !it.IsDone(); it.Next())
        existing.push_back(*it.CurrentItem());
    return true;
}

CopyEngine::Flow CopyEngine::CopyLevel(size_t begin, size_t end, const GString& folder,
                                       const std::vector<FolderObject>& existing, bool merging)
{
    for (size_t i = begin; i < end; i = SubtreeEnd(i, end)) {
        if (answer == kReplaceCancel || progress.IsCancelled())
            return Flow::End;
        // Nothing is created, deleted or sent anywhere but in the level's own folder.
        if (!Guard(folder))
            return Flow::End;
        const UploadRecord& record = list->records[i];
        const GString name(record.file.findData.fileName);
        if (!record.IsFolder()) {
            progress.SetSourceText(record.file.path);
            progress.SetTargetText(rootLabel.Concat(ftp.CurrentPath()));
            progress.SetFileCounter(record.fileNumber, list->fileCount);
        }
        progress.SetFileSize(0);

        const FolderObject* found = FindExisting(existing, name.CStr());
        if (found != nullptr && answer != kReplaceYesToAll && !merging) {
            answer = questions.AskReplace(*found, record.file,
                                          static_cast<uint32_t>(list->records.size()));
            if (answer == kReplaceNo)
                continue;
            if (answer != kReplaceYes && answer != kReplaceYesToAll) {
                answer = kReplaceCancel;
                return Flow::End;
            }
        }
        Flow flow = Flow::Go;
        if (record.IsFolder()) {
            if (found == nullptr && !ftp.CreateFolder(name))
                flow = Ask(kAskCreateDirFailed, name);
            else
                flow = EnterAndCopy(i + 1, SubtreeEnd(i, end), folder, name, found != nullptr);
        } else if (found != nullptr && !ftp.DeleteObject(name)) {
            flow = Ask(kAskReplaceFailed, name);
        } else {
            flow = Put(record, name);
        }
        if (flow == Flow::End)
            return Flow::End;
    }
    return Flow::Go;
}

CopyEngine::Flow CopyEngine::EnterAndCopy(size_t begin, size_t end, const GString& folder,
                                          const GString& name, bool merging)
{
    if (!EnterListed(ftp, name))
        return Ask(kAskChangeDirFailed, name);
    std::vector<FolderObject> existing;
    // Without the folder's listing nothing in it could be asked about before it is replaced.
    if (!ReadLevel(existing))
        return Ask(kAskChangeDirFailed, name);
    if (CopyLevel(begin, end, ChildPath(folder, name), existing, merging) == Flow::End)
        return Flow::End;
    return Guard(folder) ? Flow::Go : Flow::End;
}

CopyEngine::Flow CopyEngine::Put(const UploadRecord& record, const GString& name)
{
    FileInformation file = record.file;
    if (ftp.PutFile(&file, &progress))
        return Flow::Go;
    if (progress.IsCancelled())
        return Flow::End;
    // Only the size-limit refusal has its own question; an OBEX response code is no message id.
    if (ftp.LastError() == static_cast<int>(kAskSizeLimit)) {
        FtpSizeLimit limit(ftp);
        if (questions.AskSizeLimit(name, limit))
            return Flow::Go;
        answer = kReplaceCancel;
        return Flow::End;
    }
    return Ask(kAskCopyFailed, name);
}
