// Shared pieces of the Samsung tests under Wine: a folder tree for the simulated phone (under
// the build tree, as the simulator takes Unix paths), simulator settings sent over the line,
// and helpers for local files.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/List.h"
#include "devices/TSerialPort.h"
#include "obex/FTP.h"
#include "support/win/PhoneSim.h"
#include "transport/Socket.h"

namespace samsung_test {

class PhoneTree {
public:
    PhoneTree()
    {
        const char* build = std::getenv("QV_BUILD");
        const std::string base = std::string(build != nullptr ? build : "/tmp") + "/test-trees";
        unixRoot = base + "/samsung-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(counter++);
        CreateDirectoryA(PhoneSim::WinePath(base).c_str(), nullptr);
        CreateDirectoryA(Win().c_str(), nullptr);
    }
    ~PhoneTree() { Remove(Win()); }
    PhoneTree(const PhoneTree&) = delete;
    PhoneTree& operator=(const PhoneTree&) = delete;

    // Relative paths use '\\' and ANSI (Windows-1251) names; Wine keeps them as UTF-8.
    std::string Win(const std::string& relative = "") const
    {
        return PhoneSim::WinePath(unixRoot) + (relative.empty() ? "" : "\\" + relative);
    }
    void Folder(const std::string& relative) { CreateDirectoryA(Win(relative).c_str(), nullptr); }
    void File(const std::string& relative, const std::string& content) const
    {
        WriteLocal(Win(relative), content);
    }
    std::string Read(const std::string& relative) const { return ReadLocal(Win(relative)); }
    bool Exists(const std::string& relative) const
    {
        return GetFileAttributesA(Win(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    static void WriteLocal(const std::string& path, const std::string& content)
    {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    static std::string ReadLocal(const std::string& path)
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

    std::string unixRoot;

private:
    static void Remove(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = fd.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(dir + "\\" + name);
                else
                    DeleteFileA((dir + "\\" + name).c_str());
            } while (FindNextFileA(find, &fd));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }
    static inline int counter = 0;
};

inline void OnSim(TSerialPort& port, const PhoneSim& sim)
{
    port.portName = sim.ComName().c_str();
    port.displayName = sim.ComName().c_str();
    port.devicePath = sim.DevicePath().c_str();
}

// "AT$QVSIM=<setting>\r" on the phone's AT line; true when the simulator took it.
inline bool SimSetting(Socket& line, const std::string& setting)
{
    const std::string command = "AT$QVSIM=" + setting + "\r";
    line.Write(command.c_str(), 0);
    return line.ReadReply(0) > 0 && line.result.Equals("OK");
}

// Names of the listing, folders with a trailing '/'.
inline std::vector<std::string> Listed(const FTP& files)
{
    std::vector<std::string> names;
    for (ListIterator<FolderObject> it(files.entries); !it.IsDone(); it.Next()) {
        const FolderObject* e = it.CurrentItem();
        names.push_back(std::string(e->name.CStr()) + (e->type == FolderObject::kFolder ? "/" : ""));
    }
    return names;
}

inline FolderObject* Entry(const FTP& files, const char* name)
{
    for (ListIterator<FolderObject> it(files.entries); !it.IsDone(); it.Next()) {
        if (it.CurrentItem()->name.Equals(name))
            return it.CurrentItem();
    }
    return nullptr;
}

// Every byte value, and the texts the framing uses, inside the content.
inline std::string AwkwardContent(size_t size)
{
    std::string content;
    const std::string salt = "\r\n#OK#\r\n+FSFR:12,1,##>\r\nOK\r\nERROR\r\n";
    for (size_t i = 0; content.size() < size; ++i)
        content += (i % 3 == 0) ? salt : std::string(1, static_cast<char>(i & 0xFF));
    content.resize(size);
    return content;
}

}  // namespace samsung_test
