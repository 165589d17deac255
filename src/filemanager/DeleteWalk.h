// Deleting a selection of phone objects, folders with everything inside them, deepest
// objects first. Runs on the delete worker; every failure is asked about (1004 for an object
// that could not be deleted, 1007 for a folder that could not be entered or returned to).
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "filemanager/OperationQuestions.h"
#include "obex/FTP.h"

// What the walk tells the window while it works.
class DeleteProgress {
public:
    virtual ~DeleteProgress() = default;
    // About to delete name: the wait text shows it and the bar takes one step.
    virtual void ShowObject(const GString& name) = 0;
    // The window wants the worker to end (it is closing).
    virtual bool StopRequested() = 0;
};

class DeleteWalk {
public:
    // Folders nested deeper than this below the starting folder are not entered; they and the
    // folders holding them fail to delete.
    static constexpr uint32_t kMaxDepth = 32;

    enum class Outcome {
        Finished,  // every object was tried (some may have failed and been passed with "Да")
        Stopped,   // "Нет" to a question, or a stop request
    };

    DeleteWalk(FTP& ftp, ContinueQuestions& questions, DeleteProgress& progress)
        : ftp(ftp), questions(questions), progress(progress)
    {
    }

    // Deletes selection, a copy of entries listed in the phone's current folder. Afterwards the
    // phone is brought back to that folder when it is elsewhere (the list is re-read there).
    Outcome Run(const std::vector<FolderObject>& selection);

private:
    enum class Flow {
        Go,    // carry on at this level
        Lost,  // the phone is not in this level's folder and could not be brought back
        Stop,  // the whole deletion ends
    };

    Flow Process(const GString& folder, const FolderObject& entry, uint32_t depth);
    Flow EmptyFolder(const GString& folder, uint32_t depth);
    // Makes sure the phone stands in folder before anything there is touched.
    Flow Guard(const GString& folder);
    Flow Ask(uint32_t messageId, const GString& name, Flow onYes = Flow::Go);

    FTP& ftp;
    ContinueQuestions& questions;
    DeleteProgress& progress;
};
