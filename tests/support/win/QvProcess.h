// qv.exe as a separate process for end-to-end tests: started in a working folder, its main
// window found, closed like a user would, its exit awaited.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class QvProcess {
public:
    // Starts <build>/qv.exe with workDir as its current folder.
    explicit QvProcess(const std::string& workDir);
    // Starts the given qv.exe (Windows path) with its arguments, as a shortcut would.
    QvProcess(const std::string& exe, const std::string& arguments, const std::string& workDir);
    ~QvProcess();  // a process still running is ended
    QvProcess(const QvProcess&) = delete;
    QvProcess& operator=(const QvProcess&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    // The main window once it is shown; null when it did not appear in time or the process
    // ended.
    HWND WaitForMainWindow(DWORD timeoutMs);
    std::string Title() const;
    // A dialog of the process with this caption (a message box: "QV - Ошибка") once it is
    // shown; null when none appeared in time or the process ended.
    HWND WaitForDialog(const char* caption, DWORD timeoutMs);
    // Posts WM_CLOSE to the main window.
    void Close();
    // Waits for the exit; true with the exit code when it ended in time.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

private:
    HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs);

    PROCESS_INFORMATION info{};
    HWND window = nullptr;
};

// The text of a message box, and pressing one of its buttons (IDOK, IDYES, ...).
std::string MessageBoxText(HWND box);
void PressButton(HWND box, int button);

// The bytes of a file, empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
