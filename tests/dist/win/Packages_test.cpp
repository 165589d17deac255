// The release packages as a user meets them, in a Wine prefix of their own that nothing else
// has touched (scripts/dist-test.sh makes it and builds the packages):
//   QV_DIST_SETUP     the setup exe
//   QV_DIST_PORTABLE  the folder the portable zip was unpacked into
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/win/QvProcess.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvan";

std::string Env(const char* name)
{
    char value[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? value : "";
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

bool IsFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

struct Shortcut {
    bool read = false;
    std::string target, arguments, workDir;
};

Shortcut ReadShortcut(const std::string& path)
{
    Shortcut shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char text[MAX_PATH] = {};
        shortcut.read = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
        shortcut.target = text;
        text[0] = 0;
        link->GetArguments(text, MAX_PATH);
        shortcut.arguments = text;
        text[0] = 0;
        link->GetWorkingDirectory(text, MAX_PATH);
        shortcut.workDir = text;
    }
    if (file != nullptr)
        file->Release();
    link->Release();
    return shortcut;
}

std::string RegString(const char* name)
{
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "";
    return value;
}

bool RegDword(const char* name, DWORD& value)
{
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

// The FileVersion string of an exe's version resource.
std::string FileVersionOf(const std::string& exe)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data()))
        return "";
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return "";
    char query[64];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\FileVersion", translation->language, translation->codePage);
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &length) || length == 0)
        return "";
    return value;
}

// Runs a command line and waits until it and every process it started have ended: the
// uninstaller hands its work to a copy of itself in the temporary folder and returns at once.
// True with the first process's exit code when all ended in time.
bool RunToTheEnd(std::string commandLine, DWORD timeoutMs, DWORD& exitCode)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job, port};
    bool ended = false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (job != nullptr && port != nullptr &&
        SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &association, sizeof association) &&
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                       &startup, &info)) {
        if (AssignProcessToJobObject(job, info.hProcess)) {
            ResumeThread(info.hThread);
            DWORD message = 0;
            ULONG_PTR key = 0;
            LPOVERLAPPED overlapped = nullptr;
            while (GetQueuedCompletionStatus(port, &message, &key, &overlapped, timeoutMs))
                if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
                    ended = GetExitCodeProcess(info.hProcess, &exitCode) != FALSE;
                    break;
                }
        } else {
            TerminateProcess(info.hProcess, 1);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    if (port != nullptr)
        CloseHandle(port);
    if (job != nullptr)
        CloseHandle(job);
    return ended;
}

DWORD RunSetupSilently()
{
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(RunToTheEnd("\"" + Env("QV_DIST_SETUP") + "\" /S", 120000, exitCode));
    return exitCode;
}

// Starts qv.exe the way the shortcut says, closes its main window and returns the exit code.
DWORD StartAndClose(const Shortcut& shortcut)
{
    QvProcess qv(shortcut.target, shortcut.arguments, shortcut.workDir);
    EXPECT_TRUE(qv.Started());
    EXPECT_NE(qv.WaitForMainWindow(60000), nullptr);
    qv.Close();
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(qv.WaitForExit(60000, exitCode));
    return exitCode;
}

class Packages : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(IsFile(Env("QV_DIST_SETUP"))) << "QV_DIST_SETUP: run through scripts/dist-test.sh";
        // Both packages carry the same qv.exe.
        built = ReadFileBytes(Env("QV_DIST_PORTABLE") + "\\Quorvan\\qv.exe");
        ASSERT_FALSE(built.empty());
        CoInitialize(nullptr);
    }
    void TearDown() override { CoUninitialize(); }

    std::vector<unsigned char> built;
};

}  // namespace

TEST_F(Packages, SilentInstallRunUpdateAndUninstallKeepTheUsersSettings)
{
    const std::string installDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Quorvan";
    const std::string settingsDir = ShellFolder(CSIDL_APPDATA) + "\\Quorvan";
    const std::string installed = installDir + "\\qv.exe";
    const std::string uninstaller = installDir + "\\uninstall.exe";
    const std::string menuLink = ShellFolder(CSIDL_PROGRAMS) + "\\Quorvan.lnk";
    const std::string desktopLink = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Quorvan.lnk";
    const std::string settings = settingsDir + "\\program.cfg";

    ASSERT_EQ(RunSetupSilently(), 0u);
    EXPECT_EQ(ReadFileBytes(installed), built);
    EXPECT_TRUE(IsFile(uninstaller));
    EXPECT_TRUE(IsFolder(settingsDir));
    for (const std::string& link : {menuLink, desktopLink}) {
        Shortcut shortcut = ReadShortcut(link);
        ASSERT_TRUE(shortcut.read) << link;
        EXPECT_TRUE(SamePath(shortcut.target, installed)) << shortcut.target;
        EXPECT_TRUE(SamePath(shortcut.workDir, settingsDir)) << shortcut.workDir;
    }

    const std::string version = FileVersionOf(installed);
    ASSERT_FALSE(version.empty());
    const std::string setup = Env("QV_DIST_SETUP");
    const std::string setupName = "\\Quorvan-" + version + "-setup.exe";
    EXPECT_EQ(setup.substr(setup.size() - std::min(setup.size(), setupName.size())), setupName);
    EXPECT_EQ(RegString("DisplayName"), "Quorvan");
    EXPECT_EQ(RegString("DisplayVersion"), version);
    EXPECT_EQ(RegString("Publisher"), "Quorvan");
    EXPECT_TRUE(SamePath(RegString("InstallLocation"), installDir));
    EXPECT_TRUE(SamePath(RegString("UninstallString"), "\"" + uninstaller + "\""));
    DWORD sizeKb = 0;
    ASSERT_TRUE(RegDword("EstimatedSize", sizeKb));
    EXPECT_GE(sizeKb, built.size() / 1024);
    EXPECT_LE(sizeKb, 2 * built.size() / 1024 + 1024);

    // The first start from the Start menu writes the settings into the user's folder only.
    Shortcut menu = ReadShortcut(menuLink);
    EXPECT_EQ(StartAndClose(menu), 0u);
    const std::vector<unsigned char> saved = ReadFileBytes(settings);
    EXPECT_FALSE(saved.empty());
    EXPECT_FALSE(IsFile(installDir + "\\program.cfg"));

    // An update over an older qv.exe replaces it and leaves the settings alone.
    ASSERT_TRUE(WriteFileBytes(installed, {'o', 'l', 'd'}));
    ASSERT_EQ(RunSetupSilently(), 0u);
    EXPECT_EQ(ReadFileBytes(installed), built);
    EXPECT_EQ(ReadFileBytes(settings), saved);
    EXPECT_TRUE(ReadShortcut(menuLink).read);
    EXPECT_EQ(RegString("DisplayVersion"), version);

    // While the program runs, a silent setup must fail rather than report an update it could
    // not make.
    {
        Shortcut desktop = ReadShortcut(desktopLink);
        QvProcess qv(desktop.target, desktop.arguments, desktop.workDir);
        ASSERT_NE(qv.WaitForMainWindow(60000), nullptr);
        EXPECT_NE(RunSetupSilently(), 0u);
        qv.Close();
        DWORD exitCode = 0xFFFFFFFF;
        ASSERT_TRUE(qv.WaitForExit(60000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    const std::vector<unsigned char> savedAgain = ReadFileBytes(settings);
    EXPECT_FALSE(savedAgain.empty());

    std::string quiet = RegString("QuietUninstallString");
    ASSERT_FALSE(quiet.empty());
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(RunToTheEnd(quiet, 120000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IsFile(installed));
    EXPECT_FALSE(IsFile(uninstaller));
    EXPECT_FALSE(IsFolder(installDir));
    EXPECT_FALSE(IsFile(menuLink));
    EXPECT_FALSE(IsFile(desktopLink));
    EXPECT_EQ(RegString("DisplayName"), "");
    EXPECT_EQ(ReadFileBytes(settings), savedAgain);
}

TEST_F(Packages, PortableFolderRunsAndKeepsItsSettingsBesideTheProgram)
{
    const std::string folder = Env("QV_DIST_PORTABLE") + "\\Quorvan";
    const std::string exe = folder + "\\qv.exe";
    EXPECT_TRUE(IsFile(folder + "\\readme.txt"));
    // Started from its folder, as a double click in the file manager starts it.
    EXPECT_EQ(StartAndClose(Shortcut{true, exe, "", folder}), 0u);
    EXPECT_FALSE(ReadFileBytes(folder + "\\program.cfg").empty());
}
