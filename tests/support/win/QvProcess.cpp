#include "support/win/QvProcess.h"

#include "support/win/TempDir.h"

namespace {

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;  // null: any
    HWND window;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    // A window not shown yet is still being placed.
    if (pid != search->processId || std::string(cls) != search->className || !IsWindowVisible(hwnd))
        return TRUE;
    if (search->caption != nullptr) {
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (std::string(text) != search->caption)
            return TRUE;
    }
    search->window = hwnd;
    return FALSE;
}

}  // namespace

QvProcess::QvProcess(const std::string& workDir)
    : QvProcess(UnixToWindowsPath(std::string(QV_BUILD_DIR) + "/qv.exe"), "", workDir)
{
}

QvProcess::QvProcess(const std::string& exe, const std::string& arguments, const std::string& workDir)
{
    std::string command = "\"" + exe + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &startup,
                        &info))
        info = PROCESS_INFORMATION{};
}

QvProcess::~QvProcess()
{
    if (info.hProcess == nullptr)
        return;
    if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

HWND QvProcess::WaitForWindow(const char* className, const char* caption, DWORD timeoutMs)
{
    if (info.hProcess == nullptr)
        return nullptr;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search search{info.dwProcessId, className, caption, nullptr};
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.window != nullptr)
            return search.window;
        if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

HWND QvProcess::WaitForMainWindow(DWORD timeoutMs)
{
    return window = WaitForWindow("qv_MainWindow", nullptr, timeoutMs);
}

HWND QvProcess::WaitForDialog(const char* caption, DWORD timeoutMs)
{
    return WaitForWindow("#32770", caption, timeoutMs);
}

std::string QvProcess::Title() const
{
    char text[512] = {};
    if (window != nullptr)
        GetWindowTextA(window, text, sizeof text);
    return text;
}

void QvProcess::Close()
{
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
}

bool QvProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode)
{
    if (info.hProcess == nullptr || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(info.hProcess, &exitCode) != FALSE;
}

std::string MessageBoxText(HWND box)
{
    // The text control of a message box has the id 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

void PressButton(HWND box, int button) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    unsigned char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}
