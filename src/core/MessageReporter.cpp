#include "core/MessageReporter.h"

#include "core/ByteFormat.h"
#include "core/MessagePlatform.h"

#include <initializer_list>

namespace {

constexpr uint32_t kCaptionId = 101;
constexpr uint32_t kCaptionCapacity = 256;
constexpr uint32_t kTextCapacity = 512;
constexpr uint32_t kSizeLimitId = 1050;

constexpr unsigned kStyleError = 0x10;            // OK, error icon
constexpr unsigned kStyleWarning = 0x30;          // OK, warning icon
constexpr unsigned kStyleQuestion = 0x24;         // Yes/No, question icon
constexpr unsigned kStyleQuestionNoFirst = 0x124; // the same with "Нет" as the default

const char kResourceMissing[] = "Ошибка чтения строкового ресурса: #";

std::atomic<MessageReporter::MessageBoxFunction> boxFunction{nullptr};

// The question and notice texts carry a "%s" for the caller's argument.
bool TakesArgument(uint32_t id) { return id == 1004 || (id >= 1007 && id <= 1011); }

// Box style for a message; 0 when it is not shown.
unsigned BoxStyle(MessageKind kind, uint32_t id)
{
    switch (kind) {
    case MessageKind::SystemError:
        return kStyleError;
    case MessageKind::ResourceText:
        switch (id) {
        case 1004: case 1007: case 1008: case 1009: return kStyleQuestionNoFirst;
        case 1010: return kStyleQuestion;
        case 1011: return kStyleWarning;
        default: return kStyleError;
        }
    case MessageKind::SizeLimitText:
        return id == kSizeLimitId ? kStyleQuestion : 0;
    }
    return 0;
}

GString MissingResourceText(uint32_t id)
{
    GString text(kResourceMissing);
    text.Append(id);
    return text;
}

}  // namespace

// Done by hand rather than by printf so that a resource text can never read arguments that
// were not passed.
GString FillArguments(const GString& pattern, std::initializer_list<const char*> args)
{
    GString out;
    auto next = args.begin();
    const char* p = pattern.CStr();
    const char* plain = p;
    for (; *p != '\0'; ++p) {
        if (p[0] != '%' || (p[1] != 's' && p[1] != '%'))
            continue;
        out.Append(plain, static_cast<uint32_t>(p - plain));
        if (p[1] == '%') {
            out.AppendChar('%');
        } else if (next != args.end()) {
            out.Append(*next++);
        }
        ++p;
        plain = p + 1;
    }
    out.Append(plain);
    return out;
}

MessageReporter& Reporter()
{
    const uint32_t lastError = MessagePlatform::LastErrorCode();
    static MessageReporter reporter;
    MessagePlatform::SetLastErrorCode(lastError);
    return reporter;
}

MessageReporter::MessageReporter()
{
    MessagePlatform::LoadText(kCaptionId, kCaptionCapacity, caption);
}

int MessageReporter::Report(MessageKind kind, uint32_t value, const MessageArgs& args)
{
    return ReportFor(defaultOwner.load(), kind, value, args);
}

int MessageReporter::ReportFor(WindowHandle owner, MessageKind kind, uint32_t value,
                               const MessageArgs& args)
{
    // Taken before anything else can overwrite it.
    const uint32_t lastError = MessagePlatform::LastErrorCode();
    const unsigned style = BoxStyle(kind, value);
    if (style == 0)
        return kNothingShown;
    const GString text = Compose(owner, kind, value, lastError, args);
    const MessageBoxFunction function = boxFunction.load();
    if (function != nullptr)
        return function(owner, text.CStr(), caption.CStr(), style);
    return MessagePlatform::ShowBox(owner, text.CStr(), caption.CStr(), style);
}

int MessageReporter::ReportText(const char* text, const char* caption, unsigned style)
{
    return ReportTextFor(defaultOwner.load(), text, caption, style);
}

int MessageReporter::ReportTextFor(WindowHandle owner, const char* text, const char* caption,
                                   unsigned style)
{
    const MessageBoxFunction function = boxFunction.load();
    if (function != nullptr)
        return function(owner, text, caption, style);
    return MessagePlatform::ShowBox(owner, text, caption, style);
}

// Everything is composed in locals: reports from several threads never share a buffer.
GString MessageReporter::Compose(WindowHandle owner, MessageKind kind, uint32_t value,
                                 uint32_t lastError, const MessageArgs& args)
{
    GString text;
    switch (kind) {
    case MessageKind::SystemError: {
        const uint32_t code = value != 0 ? value : lastError;
        const GString system = MessagePlatform::SystemText(code);
        if (args.prefixId != 0)
            MessagePlatform::LoadText(args.prefixId, kTextCapacity, text);  // empty when missing
        if (args.text != nullptr) {
            text.Append(args.text);
            text.Append("\n");
        }
        text.Append(system);
        return text;
    }
    case MessageKind::ResourceText: {
        GString loaded;
        if (!MessagePlatform::LoadText(value, kTextCapacity, loaded)) {
            const uint32_t loadError = MessagePlatform::LastErrorCode();
            const GString missing = MissingResourceText(value);
            ReportFor(owner, MessageKind::SystemError, loadError, {.text = missing.CStr()});
        }
        return TakesArgument(value) ? FillArguments(loaded, {args.text}) : loaded;
    }
    case MessageKind::SizeLimitText: {
        // Only the size-limit question itself is shown (BoxStyle).
        GString loaded;
        if (!MessagePlatform::LoadText(value, kTextCapacity, loaded))
            return MissingResourceText(value);
        GString device;
        GString limit(0u);
        if (args.limitSource != nullptr) {
            device = args.limitSource->DeviceDisplayName();
            limit = GString(args.limitSource->SizeLimit());
        }
        GroupDigits(limit);
        text = FillArguments(loaded, {args.text, device.CStr(), limit.CStr()});
        if (args.limitSource != nullptr)
            args.limitSource->ClearError();
        return text;
    }
    }
    return text;
}

MessageReporter::MessageBoxFunction MessageReporter::SetMessageBoxForTesting(
    MessageBoxFunction function)
{
    return boxFunction.exchange(function);
}
