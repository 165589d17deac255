// The file manager as the main window's view of a phone.
#pragma once

#include "ui/win/FileManagerView.h"

// Makes the file manager of a device as a hidden child of the main window, writing the host's
// status bar, command states and menu; null when its window cannot be made. Registered with
// SetFileManagerFactory at start.
FileManagerView* CreateFileManagerView(Device* device, TWindow* mainWindow, ViewHost* host);
