#include "filemanager/PhoneFileFetch.h"

#include "filemanager/FolderSteps.h"
#include "filemanager/ListedName.h"

using folder_steps::EnterListed;
using folder_steps::ReturnTo;
using folder_steps::SamePath;

namespace {

// Enters the components of folder (joined with "\\", each a listed folder name) one by one.
bool EnterFolders(FTP& ftp, const GString& folder)
{
    const char* text = folder.CStr();
    uint32_t begin = 0;
    for (uint32_t i = 0; i <= folder.Length(); ++i) {
        if (i < folder.Length() && text[i] != '\\')
            continue;
        if (!EnterListed(ftp, GString(text + begin, i - begin)))
            return false;
        begin = i + 1;
    }
    return true;
}

bool BackAt(FTP& ftp, const GString& start)
{
    GString failedStep;
    return SamePath(ftp.CurrentPath(), start) || ReturnTo(ftp, start, failedStep);
}

}  // namespace

FetchOutcome FetchPhoneFile(FTP& ftp, const GString& start, const PhoneItem& item, FileSink& sink,
                            OperationProgress* progress)
{
    FetchOutcome outcome;
    if (!BackAt(ftp, start)) {
        outcome.lost = true;
        return outcome;
    }
    // A name the phone would read as a path asks for another object than the one listed.
    if (item.isFolder || !IsSafeListedName(item.phoneName))
        return outcome;
    const bool elsewhere = !item.phoneFolder.IsEmpty();
    if (!elsewhere || EnterFolders(ftp, item.phoneFolder)) {
        FolderObject entry;
        entry.type = FolderObject::kFile;
        entry.name = item.phoneName;
        // A size of 0 asks for the file to its end, whatever length it has.
        entry.size = item.hasSize ? item.size : 0;
        outcome.whole = ftp.GetFile(&entry, sink, progress);
    }
    // The file itself may still be whole; only what follows cannot be trusted.
    if (elsewhere && !BackAt(ftp, start))
        outcome.lost = true;
    return outcome;
}
