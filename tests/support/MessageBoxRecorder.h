// Takes the place of the message box while it lives: records every box the reporter would show
// and answers it, so tests never block on a modal box.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/MessageReporter.h"

struct RecordedBox {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned style;
};

class MessageBoxRecorder {
public:
    // Answers every box with answer unless AnswerNext queued another one. One recorder at a time.
    explicit MessageBoxRecorder(int answer = MessageReporter::kYes);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void AnswerNext(int answer);
    std::vector<RecordedBox> Boxes() const;
    void Clear();

private:
    static int Show(WindowHandle owner, const char* text, const char* caption, unsigned style);

    mutable std::mutex lock;
    std::vector<RecordedBox> boxes;
    std::deque<int> queued;
    int answer;
    MessageReporter::MessageBoxFunction previous;
};
