#include "support/win/PhoneTree.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "devices/TSerialPort.h"
#include "support/win/PhoneSim.h"
#include "support/win/TempDir.h"

PhoneTree::PhoneTree(const char* kind)
{
    static std::atomic<int> counter{0};
    const char* build = std::getenv("QV_BUILD");
    const std::string base = std::string(build != nullptr ? build : "/tmp") + "/test-trees";
    unixRoot = base + "/" + kind + "-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(counter++);
    CreateDirectoryA(PhoneSim::WinePath(base).c_str(), nullptr);
    // A run that was killed leaves its tree behind, and Wine gives a later process the same id.
    RemoveTree(Win());
    CreateDirectoryA(Win().c_str(), nullptr);
}

PhoneTree::~PhoneTree() { RemoveTree(Win()); }

std::string PhoneTree::Win(const std::string& relative) const
{
    return PhoneSim::WinePath(unixRoot) + (relative.empty() ? "" : "\\" + relative);
}

void PhoneTree::Folder(const std::string& relative) const { CreateDirectoryA(Win(relative).c_str(), nullptr); }

void PhoneTree::File(const std::string& relative, const std::string& content) const
{
    WriteLocal(Win(relative), content);
}

std::string PhoneTree::Read(const std::string& relative) const { return ReadLocal(Win(relative)); }

bool PhoneTree::Exists(const std::string& relative) const
{
    return GetFileAttributesA(Win(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PhoneTree::WriteLocal(const std::string& path, const std::string& content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
}

std::string PhoneTree::ReadLocal(const std::string& path)
{
    std::string content;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
        content.append(buffer, n);
    CloseHandle(h);
    return content;
}

void OnSim(TSerialPort& port, const PhoneSim& sim)
{
    port.portName = sim.ComName().c_str();
    port.displayName = sim.ComName().c_str();
    port.devicePath = sim.DevicePath().c_str();
}
