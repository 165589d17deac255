#include "filemanager/DeleteWalk.h"

#include "filemanager/FolderSteps.h"
#include "filemanager/ListedName.h"

using folder_steps::ChildPath;
using folder_steps::EnterListed;
using folder_steps::ReturnTo;
using folder_steps::SamePath;

DeleteWalk::Outcome DeleteWalk::Run(const std::vector<FolderObject>& selection)
{
    const GString start = ftp.CurrentPath();
    Outcome outcome = Outcome::Finished;
    for (const FolderObject& entry : selection) {
        // Lost at the top only skips this entry: the next one tries to get back first.
        if (Process(start, entry, 0) == Flow::Stop) {
            outcome = Outcome::Stopped;
            break;
        }
    }
    if (!SamePath(ftp.CurrentPath(), start)) {
        GString failedStep;
        ReturnTo(ftp, start, failedStep);
    }
    return outcome;
}

DeleteWalk::Flow DeleteWalk::Ask(uint32_t messageId, const GString& name, Flow onYes)
{
    return questions.AskContinue(messageId, name) ? onYes : Flow::Stop;
}

DeleteWalk::Flow DeleteWalk::Guard(const GString& folder)
{
    if (SamePath(ftp.CurrentPath(), folder))
        return Flow::Go;
    GString failedStep;
    if (ReturnTo(ftp, folder, failedStep))
        return Flow::Go;
    return Ask(kAskChangeDirFailed, failedStep, Flow::Lost);
}

DeleteWalk::Flow DeleteWalk::Process(const GString& folder, const FolderObject& entry,
                                     uint32_t depth)
{
    if (progress.StopRequested())
        return Flow::Stop;
    // A name such as ".." or "a\\b" would delete, or walk into, another folder.
    if (!IsSafeListedName(entry.name))
        return Ask(kAskDeleteFailed, entry.name);
    Flow flow = Guard(folder);
    if (flow != Flow::Go)
        return flow;

    if (entry.type == FolderObject::kFolder) {
        if (depth + 1 > kMaxDepth)
            return Ask(kAskDeleteFailed, entry.name);
        // A refused entry leaves the phone where it was; anywhere else, the next Guard sees it.
        if (!EnterListed(ftp, entry.name))
            return Ask(kAskChangeDirFailed, entry.name);
        if (EmptyFolder(ChildPath(folder, entry.name), depth + 1) == Flow::Stop)
            return Flow::Stop;
        flow = Guard(folder);
        if (flow != Flow::Go)
            return flow;
    }
    progress.ShowObject(entry.name);
    if (!ftp.DeleteObject(entry.name))
        return Ask(kAskDeleteFailed, entry.name);
    return Flow::Go;
}

DeleteWalk::Flow DeleteWalk::EmptyFolder(const GString& folder, uint32_t depth)
{
    if (!ftp.ReadFolder(nullptr))
        return Flow::Go;
    // One pass over a copy of the listing: the walk below replaces the object's entries, and
    // re-reading after each subfolder would meet a folder the phone did not remove again and
    // again.
    std::vector<FolderObject> listing;
    listing.reserve(ftp.entries.Count());
    ListIterator<FolderObject> it(ftp.entries);
    for (it.First(); !it.IsDone(); it.Next())
        listing.push_back(*it.CurrentItem());
    for (const FolderObject& entry : listing) {
        const Flow flow = Process(folder, entry, depth);
        if (flow != Flow::Go)
            return flow;
    }
    return Flow::Go;
}
