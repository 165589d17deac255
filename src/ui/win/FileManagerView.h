// What the main window needs from a device's file manager window: the window to show and lay
// out, whether its file-access session is open, the start of opening it, and the list style.
// The file manager's workers report back with the main window's private messages: the device
// busy and idle (QVM_DEVICE_BUSY), and QVM_SWITCH_VIEW with 0 when the session could not be
// opened.
#pragma once

#include <cstdint>

class Device;
class TWindow;
class ViewHost;

class FileManagerView {
public:
    virtual ~FileManagerView() = default;
    // The view's window, a hidden child of the main window once created.
    virtual TWindow* Window() = 0;
    virtual bool SessionOpen() const = 0;
    // Starts opening the session on a worker; the main window has marked the device busy.
    virtual void OpenSession() = 0;
    // 0 large icons, 1 table, 2 small icons, 3 list.
    virtual void SetListStyle(uint8_t style) = 0;
    // The device is busy or idle again. A view whose operations can be cancelled keeps that
    // way open; by default the whole window takes no input.
    virtual void SetEnabled(bool enabled);
};

// Makes a device's file manager view, or null when the program has none. Set once at start by
// the file manager; unset, devices get the information view only.
using FileManagerFactory = FileManagerView* (*)(Device* device, TWindow* mainWindow, ViewHost* host);
void SetFileManagerFactory(FileManagerFactory factory);
