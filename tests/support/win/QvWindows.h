// Reading qv.exe's windows from another process, as a screen reader or a test program does:
// child windows by class and control id, texts through WM_GETTEXT.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The text of a window of any process, through WM_GETTEXT.
std::string WindowTextOf(HWND window);
// The first child (at any depth) of parent with the class and, unless id is -1, the control
// id; visibleOnly skips hidden ones. Null when there is none.
HWND FindChildWindow(HWND parent, const char* className, int id = -1, bool visibleOnly = false);
// The device list panel of a main window (the dock panel "Устройства"), or null.
HWND FindDeviceList(HWND mainWindow);
// The device buttons (control id 1 in the device list panel), in panel order.
std::vector<HWND> DeviceButtons(HWND mainWindow);
// Their texts: the names of the phones listed.
std::vector<std::string> DeviceNames(HWND mainWindow);
// The shown information view (class qv_Device_InfoView), or null.
HWND ShownInfoView(HWND mainWindow);
// The shown control panel: a visible dock panel holding the "Проводник" button (250).
HWND ShownControlPanel(HWND mainWindow);
bool IsShown(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);
// The texts of one column of a list view of another process, row by row (the item record
// and its text buffer live in that process, as the control needs).
std::vector<std::string> ListViewColumn(HWND list, int column = 0);
