// Runs helpers/qv_clipreader.exe as a second program that pastes the clipboard's virtual
// files into a folder the way the desktop does, and gives back what it reported.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "support/win/PhoneTree.h"
#include "support/win/TempDir.h"

namespace fm_test {

// What the second program saw, line by line (see helpers/qv_clipreader.c).
struct Pasted {
    DWORD exitCode = 99;
    std::vector<std::string> lines;
    // The first line starting with prefix, empty when none.
    std::string Line(const std::string& prefix) const
    {
        for (const std::string& line : lines) {
            if (line.rfind(prefix, 0) == 0)
                return line;
        }
        return std::string();
    }
};

// Pastes into folder from a second program; this thread, the file manager's, goes on
// handling messages until that program ends.
inline Pasted PasteElsewhere(const std::string& folder, const std::string& options = "")
{
    Pasted pasted;
    TempDir scratch;
    const std::string report = scratch.File("report.txt");
    std::string command = "\"" + UnixToWindowsPath(std::string(QV_BUILD_DIR) + "/qv_clipreader.exe") + "\" \"" +
                          report + "\" \"" + folder + "\" " + options;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return pasted;
    // A failure limit only: a paste at the pace of a slow line may take its time.
    const DWORD started = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() - started < 600000) {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    GetExitCodeProcess(process.hProcess, &pasted.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string text = PhoneTree::ReadLocal(report);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        pasted.lines.push_back(text.substr(start, end - start));
    return pasted;
}

}  // namespace fm_test
