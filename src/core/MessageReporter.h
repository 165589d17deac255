// Every error box and continue-question of the program goes through the one MessageReporter:
// the caller names a kind of message and its arguments, the reporter composes the text, picks
// buttons and icon, shows the box and returns the user's answer.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>

#include "core/GString.h"

struct HWND__;
using WindowHandle = HWND__*;

// What the size-limit question needs from the file-access object that refused a file.
class SizeLimitSource {
public:
    virtual ~SizeLimitSource() = default;
    virtual GString DeviceDisplayName() = 0;
    virtual uint32_t SizeLimit() = 0;  // bytes
    virtual void ClearError() = 0;     // the question has been asked
};

enum class MessageKind : uint32_t {
    SystemError = 0,    // value: system error code, 0 for the calling thread's last error
    ResourceText = 1,   // value: string resource id
    SizeLimitText = 5,  // value: string resource id (1050)
};

struct MessageArgs {
    // SystemError: string resource put in front (0: none).
    uint32_t prefixId = 0;
    // SystemError: a name put between prefix and system text, followed by "\n".
    // ResourceText: the argument of the "%s" in the question texts.
    // SizeLimitText: the file name.
    const char* text = nullptr;
    // SizeLimitText: the object whose size limit was exceeded.
    SizeLimitSource* limitSource = nullptr;
};

class MessageReporter {
public:
    // Box results.
    static constexpr int kNothingShown = 0;
    static constexpr int kOk = 1;
    static constexpr int kYes = 6;
    static constexpr int kNo = 7;

    MessageReporter();
    MessageReporter(const MessageReporter&) = delete;
    MessageReporter& operator=(const MessageReporter&) = delete;

    // Composes and shows the message owned by the default owner; returns the box result, or
    // kNothingShown. Safe to call from several threads at once.
    int Report(MessageKind kind, uint32_t value, const MessageArgs& args = {});
    int ReportFor(WindowHandle owner, MessageKind kind, uint32_t value,
                  const MessageArgs& args = {});
    // Shows a text of the caller's own, with its caption and box style, owned by the default
    // owner; returns the box result.
    int ReportText(const char* text, const char* caption, unsigned style);
    int ReportTextFor(WindowHandle owner, const char* text, const char* caption, unsigned style);
    void SetDefaultOwner(WindowHandle window) { defaultOwner.store(window); }
    WindowHandle DefaultOwner() const { return defaultOwner.load(); }

    // Replaces the system message box (tests answer and inspect the boxes); null restores it.
    // Returns the function installed before.
    using MessageBoxFunction = int (*)(WindowHandle owner, const char* text, const char* caption,
                                       unsigned style);
    static MessageBoxFunction SetMessageBoxForTesting(MessageBoxFunction function);

private:
    GString Compose(WindowHandle owner, MessageKind kind, uint32_t value, uint32_t lastError,
                    const MessageArgs& args);

    std::atomic<WindowHandle> defaultOwner{nullptr};
    GString caption;  // string 101, the caption of every box
};

// Puts the arguments in place of the "%s" of a resource text in order ("%%" gives '%'); a
// "%s" without an argument left gives nothing.
GString FillArguments(const GString& pattern, std::initializer_list<const char*> args);

// The process-wide reporter. The first call keeps the thread's last error intact, so a
// SystemError reported through it still sees the failure that led to it.
MessageReporter& Reporter();
