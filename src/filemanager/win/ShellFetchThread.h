// Reads one file of a copy to the desktop from the phone, off the window's thread: the stream
// that asked waits for the bytes with the window's messages running. Like the other workers
// it is stopped and joined before the phone's file access goes.
#pragma once

#include <atomic>
#include <memory>

#include "core/GString.h"
#include "filemanager/FetchBuffer.h"
#include "filemanager/PhoneTreeWalk.h"
#include "filemanager/win/FileManagerThreads.h"

class ShellFetchThread : public FileManagerThread {
public:
    // The file item of a set collected in start, into buffer.
    bool StartFetch(FileManagerWindow* owner, std::shared_ptr<FetchBuffer> buffer, const PhoneItem& item,
                    const GString& start);
    // Window's thread, once the run has ended: the phone was left outside the start folder.
    bool Lost() const { return lost.load(); }
    // The stream of the running fetch is gone: nobody waits for its bytes.
    bool Orphaned() const { return target != nullptr && target->Abandoned(); }

protected:
    void Body() override;

private:
    std::shared_ptr<FetchBuffer> target;
    PhoneItem item;
    GString start;
    std::atomic<bool> lost{false};
};
