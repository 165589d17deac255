// The process object: created first and destroyed last. Holds what the shell gives the
// program (system image lists) and runs the message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void Init(HINSTANCE instance, LPSTR commandLine, int showCommand);
    bool GetSystemImageLists(HIMAGELIST* large, HIMAGELIST* small) const;
    // Runs the message loop; returns the wParam of the final WM_QUIT.
    int Run();

    static Application* Instance();

private:
    using ShellGetImageListsProc = BOOL(WINAPI*)(HIMAGELIST*, HIMAGELIST*);
    using FileIconInitProc = BOOL(WINAPI*)(BOOL);

    ShellGetImageListsProc shellImageListsProc = nullptr;
    HMODULE shellLibrary = nullptr;
    LPSTR commandLine = nullptr;
    int showCommand = 0;
};
