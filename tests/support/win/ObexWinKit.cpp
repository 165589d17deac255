#include "support/win/ObexWinKit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "obex/win/FindDataWin.h"

namespace {

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

const uint8_t kFolderBrowsingTarget[16] = {0xF9, 0xEC, 0x7B, 0xC4, 0x95, 0x3C, 0x11, 0xD2,
                                           0x98, 0x4E, 0x52, 0x54, 0x00, 0xDC, 0x9E, 0x09};
const uint8_t kSiemensTarget[16] = {0x6B, 0x01, 0xCB, 0x31, 0x41, 0x06, 0x11, 0xD4,
                                    0x9A, 0x77, 0x00, 0x50, 0xDA, 0x3F, 0x47, 0x1F};

PhoneRoot::PhoneRoot()
{
    const char* build = std::getenv("QV_BUILD");
    const std::string base = std::string(build != nullptr ? build : "/tmp") + "/obex-roots";
    CreateDirectoryA(PhoneSim::WinePath(base).c_str(), nullptr);
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof name, "/root-%lu-%d-%lu",
                  static_cast<unsigned long>(GetCurrentProcessId()), ++counter,
                  static_cast<unsigned long>(GetTickCount()));
    unixPath = base + name;
    winPath = PhoneSim::WinePath(unixPath);
    CreateDirectoryA(winPath.c_str(), nullptr);
}

PhoneRoot::~PhoneRoot() { RemoveTree(winPath); }

std::string PhoneRoot::Path(const std::string& relative) const
{
    return relative.empty() ? winPath : winPath + "\\" + relative;
}

void PhoneRoot::Folder(const std::string& relative) const
{
    CreateDirectoryA(Path(relative).c_str(), nullptr);
}

void PhoneRoot::Write(const std::string& relative, const std::string& content) const
{
    FILE* f = std::fopen(Path(relative).c_str(), "wb");
    if (f == nullptr)
        return;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

std::string PhoneRoot::Read(const std::string& relative) const
{
    std::string out;
    FILE* f = std::fopen(Path(relative).c_str(), "rb");
    if (f == nullptr)
        return out;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, n);
    std::fclose(f);
    return out;
}

bool PhoneRoot::Exists(const std::string& relative) const
{
    return GetFileAttributesA(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Pattern(size_t size, uint32_t seed)
{
    std::string out(size, '\0');
    uint32_t x = seed;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = static_cast<char>(x >> 16);
    }
    return out;
}

ObexLine::ObexLine(PhoneSim& sim)
{
    port.portName = sim.ComName().c_str();
    port.displayName = "Simulated phone";
}

bool ObexLine::Connect(const uint8_t* target, uint32_t length)
{
    return socket.Open() && obex->Connect(&socket, target, length);
}

std::string ObexLine::Get(const char* name, uint32_t size)
{
    FolderObject entry;
    entry.name = name;
    entry.size = size;
    MemoryFileSink sink;
    const bool whole = obex->GetFile(&entry, sink, nullptr);
    lastArrived = sink.Size();
    if (!whole)
        return std::string();
    return std::string(reinterpret_cast<const char*>(sink.Data()), sink.Size());
}

FileInformation LocalFile(const std::string& windowsPath)
{
    FileInformation info;
    FileInformationFromPath(windowsPath.c_str(), info);
    return info;
}

uint64_t WriteTimeSeconds(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    const uint64_t t = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
    return t / 10000000u;
}
