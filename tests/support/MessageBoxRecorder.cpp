#include "support/MessageBoxRecorder.h"

#include <atomic>

namespace {

std::atomic<MessageBoxRecorder*> active{nullptr};

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(int answer) : answer(answer)
{
    active.store(this);
    previous = MessageReporter::SetMessageBoxForTesting(Show);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    MessageReporter::SetMessageBoxForTesting(previous);
    active.store(nullptr);
}

void MessageBoxRecorder::AnswerNext(int next)
{
    std::lock_guard<std::mutex> guard(lock);
    queued.push_back(next);
}

std::vector<RecordedBox> MessageBoxRecorder::Boxes() const
{
    std::lock_guard<std::mutex> guard(lock);
    return boxes;
}

void MessageBoxRecorder::Clear()
{
    std::lock_guard<std::mutex> guard(lock);
    boxes.clear();
}

int MessageBoxRecorder::Show(WindowHandle owner, const char* text, const char* caption,
                             unsigned style)
{
    MessageBoxRecorder* self = active.load();
    std::lock_guard<std::mutex> guard(self->lock);
    self->boxes.push_back({owner, text, caption, style});
    if (self->queued.empty())
        return self->answer;
    const int next = self->queued.front();
    self->queued.pop_front();
    return next;
}
