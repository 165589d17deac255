#include "filemanager/OperationQuestions.h"

bool AskContinueBox(WindowHandle owner, uint32_t messageId, const GString& name)
{
    MessageArgs args;
    args.text = name.CStr();
    return Reporter().ReportFor(owner, MessageKind::ResourceText, messageId, args) !=
           MessageReporter::kNo;
}

bool AskSizeLimitBox(WindowHandle owner, const GString& name, SizeLimitSource& limit)
{
    MessageArgs args;
    args.text = name.CStr();
    args.limitSource = &limit;
    return Reporter().ReportFor(owner, MessageKind::SizeLimitText, kAskSizeLimit, args) !=
           MessageReporter::kNo;
}
