// Answers the file manager's questions from a script and records them as "<id> <name>".
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "filemanager/OperationQuestions.h"

class ScriptedQuestions : public CopyQuestions {
public:
    bool AskContinue(uint32_t messageId, const GString& name) override
    {
        asked.push_back(std::to_string(messageId) + " " + name.CStr());
        return Next(true);
    }
    bool AskSizeLimit(const GString& name, SizeLimitSource& limit) override
    {
        asked.push_back("1050 " + std::string(name.CStr()) + " " +
                        std::to_string(limit.SizeLimit()));
        limit.ClearError();
        return Next(true);
    }
    int AskReplace(const FolderObject& existing, const FileInformation&, uint32_t count) override
    {
        asked.push_back("replace " + std::string(existing.name.CStr()) + " " +
                        std::to_string(count));
        if (replies.empty())
            return kReplaceYes;
        const int r = replies.front();
        replies.pop_front();
        return r;
    }
    // The answers of the next yes/no questions (true: "Да"); "Да" once they run out.
    std::deque<bool> answers;
    // The answers of the next replace questions; kReplaceYes once they run out.
    std::deque<int> replies;
    std::vector<std::string> asked;

private:
    bool Next(bool otherwise)
    {
        if (answers.empty())
            return otherwise;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};
