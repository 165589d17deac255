// One copy out of the phone as the desktop's receivers see it: the files offered, the
// streams handed out for them, and the window that reads them from the phone. Every shell
// object of the copy holds the exchange, never the window or the phone's file access
// directly; when the window lets the copy go (a change of folder, the phone going, closing)
// it detaches the exchange, cuts the receivers' connections to its objects, and whatever a
// receiver still calls afterwards fails instead of reaching freed memory.
#pragma once

#include <windows.h>

#include <vector>

#include "filemanager/OutgoingFiles.h"

class FileManagerWindow;
class IFileManagerStream;

class ShellExchange {
public:
    ShellExchange(FileManagerWindow* window, OutgoingFiles files);
    ShellExchange(const ShellExchange&) = delete;
    ShellExchange& operator=(const ShellExchange&) = delete;

    // Null once detached.
    FileManagerWindow* Window() const { return window; }
    OutgoingFiles files;
    // The stream whose read waits for the phone right now: calls that would use the phone
    // or end the copy meanwhile are refused as busy.
    IFileManagerStream* reading = nullptr;
    // The phone could not be brought back to the folder the copy started in.
    bool lost = false;

    void StreamCreated(IFileManagerStream* stream);
    // The last one going tells the window (posted).
    void StreamGone(IFileManagerStream* stream);
    size_t LiveStreams() const { return streams.size(); }
    // Asks the window to look at how the copy stands (posted; any thread).
    void NotifyWindow() const;

    // The window lets the copy go: receivers lose their connections to the streams, and
    // every later call fails.
    void Detach();

private:
    FileManagerWindow* window;
    HWND windowHandle;
    std::vector<IFileManagerStream*> streams;
};
