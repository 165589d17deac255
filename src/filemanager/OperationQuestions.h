// The questions a file operation asks the user when one object fails, and the ones the
// upload asks before it replaces anything. The window answers them with message boxes and
// dialogs; tests answer them from a script.
#pragma once

#include <cstdint>

#include "core/GString.h"
#include "core/MessageReporter.h"
#include "obex/FTP.h"

// Message ids of the questions.
constexpr uint32_t kAskDeleteFailed = 1004;     // deleting «%s» failed
constexpr uint32_t kAskChangeDirFailed = 1007;  // entering the folder «%s» failed
constexpr uint32_t kAskReplaceFailed = 1008;    // the file «%s» could not be removed to replace it
constexpr uint32_t kAskCreateDirFailed = 1009;  // the folder «%s» could not be created
constexpr uint32_t kAskCopyFailed = 1010;       // uploading «%s» failed
constexpr uint32_t kAskSizeLimit = 1050;        // the phone refuses files as large as «%s»

// Answers of the replace question.
constexpr int kReplaceYes = 6;
constexpr int kReplaceYesToAll = 32;
constexpr int kReplaceNo = 7;
constexpr int kReplaceCancel = 2;

class ContinueQuestions {
public:
    virtual ~ContinueQuestions() = default;
    // Question messageId about name; true ("Да") goes on with the other objects, false
    // ("Нет") ends the whole operation.
    virtual bool AskContinue(uint32_t messageId, const GString& name) = 0;
};

class CopyQuestions : public ContinueQuestions {
public:
    // The phone refused name as too large; limit tells the phone's name and limit.
    virtual bool AskSizeLimit(const GString& name, SizeLimitSource& limit) = 0;
    // existing is on the phone under local's name; count is the number of records of the
    // upload (with one record the dialog offers only yes and no). Answers kReplace*.
    virtual int AskReplace(const FolderObject& existing, const FileInformation& local,
                           uint32_t count) = 0;
};

// The questions as message boxes through the reporter, owned by owner (null: the reporter's
// default owner). Only "Нет" answers false.
bool AskContinueBox(WindowHandle owner, uint32_t messageId, const GString& name);
bool AskSizeLimitBox(WindowHandle owner, const GString& name, SizeLimitSource& limit);

// The continue questions of the delete walk and the copy to the desktop as message boxes.
class ReporterQuestions : public ContinueQuestions {
public:
    explicit ReporterQuestions(WindowHandle owner) : owner(owner) {}
    bool AskContinue(uint32_t messageId, const GString& name) override
    {
        return AskContinueBox(owner, messageId, name);
    }

private:
    WindowHandle owner;
};
