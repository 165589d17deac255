#include "support/win/PhoneSim.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "support/win/WaitUntil.h"

namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string Quote(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string q = "\"";
    for (char c : arg) {
        if (c == '"')
            q += '\\';
        q += c;
    }
    return q + "\"";
}

struct WinsockUser {
    WinsockUser()
    {
        WSADATA data;
        ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockUser()
    {
        if (ok)
            WSACleanup();
    }
    bool ok = false;
};

WinsockUser& Winsock()
{
    static WinsockUser user;
    return user;
}

}  // namespace

std::string PhoneSim::WinePath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

ComPortLease::ComPortLease(bool neverUsedHere)
{
    static std::set<std::string> leasedHere;
    std::string build = Env("QV_BUILD");
    if (build.empty())
        return;
    portsDir = build + "/ports";
    CreateDirectoryA(PhoneSim::WinePath(portsDir).c_str(), nullptr);
    for (int n = 10; n <= 29; ++n) {
        std::string name = "COM" + std::to_string(n);
        if (neverUsedHere && leasedHere.count(name) != 0)
            continue;
        std::string lockPath = PhoneSim::WinePath(portsDir + "/" + name + ".lock");
        HANDLE h = CreateFileA(lockPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            lock = h;
            comName = name;
            leasedHere.insert(name);
            return;
        }
    }
}

ComPortLease::~ComPortLease()
{
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
}

PhoneSim::PhoneSim(const std::vector<std::string>& options, DWORD readyTimeoutMs)
{
    std::string build = Env("QV_BUILD");
    std::string binary = Env("QV_PHONESIM");
    if (build.empty() || binary.empty()) {
        error = "QV_BUILD and QV_PHONESIM must be set (run through make test-wine)";
        return;
    }
    if (!Winsock().ok) {
        error = "WSAStartup failed";
        return;
    }
    if (!lease.Taken()) {
        error = "no free COM port among COM10..COM29";
        return;
    }
    const std::string& portsUnix = lease.PortsDir();
    const std::string& comName = lease.ComName();

    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = "control listener: error " + std::to_string(WSAGetLastError());
        return;
    }

    std::string logUnix = portsUnix + "/" + comName + ".log";
    logPath = WinePath(logUnix);
    DeleteFileA(logPath.c_str());
    std::vector<std::string> args = {"--control", std::to_string(ntohs(address.sin_port)),
                                     "--link",    portsUnix + "/" + comName,
                                     "--log",     logUnix};
    args.insert(args.end(), options.begin(), options.end());
    if (!Launch(binary, args))
        return;
    ready = AwaitReady(readyTimeoutMs);
}

PhoneSim::~PhoneSim() { Stop(); }

bool PhoneSim::Launch(const std::string& binary, const std::vector<std::string>& args)
{
    std::string exe = WinePath(binary);
    std::string commandLine = Quote(exe);
    for (const std::string& a : args)
        commandLine += " " + Quote(a);
    // The simulator's own output (its READY line, errors) goes to a file beside the log
    // rather than into the test's output.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA((logPath + ".out").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    BOOL started = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr,
                                  output != INVALID_HANDLE_VALUE, 0, nullptr, nullptr, &startup,
                                  &process);
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (!started) {
        error = "CreateProcess " + exe + ": error " + std::to_string(GetLastError());
        process = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

bool PhoneSim::AwaitReady(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    auto left = [&]() -> DWORD {
        DWORD spent = GetTickCount() - start;
        return spent >= timeoutMs ? 0 : timeoutMs - spent;
    };
    fd_set set;
    FD_ZERO(&set);
    FD_SET(listener, &set);
    timeval tv{static_cast<long>(left() / 1000), static_cast<long>(left() % 1000 * 1000)};
    if (select(0, &set, nullptr, nullptr, &tv) != 1) {
        error = "the simulator did not connect (see " + logPath + ")";
        return false;
    }
    control = accept(listener, nullptr, nullptr);
    closesocket(listener);
    listener = INVALID_SOCKET;
    if (control == INVALID_SOCKET) {
        error = "accept failed";
        return false;
    }
    std::string text;
    while (text.find('\n') == std::string::npos) {
        DWORD ms = left();
        FD_ZERO(&set);
        FD_SET(control, &set);
        timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
        char buffer[256];
        int n = 0;
        if (ms == 0 || select(0, &set, nullptr, nullptr, &wait) != 1 ||
            (n = recv(control, buffer, sizeof buffer, 0)) <= 0) {
            error = "no READY from the simulator; got \"" + text + "\"";
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    if (text.compare(0, 6, "READY ") != 0) {
        error = "unexpected greeting \"" + text + "\"";
        return false;
    }
    pty = text.substr(6, text.find('\n') - 6);
    return true;
}

void PhoneSim::Stop()
{
    if (listener != INVALID_SOCKET) {
        closesocket(listener);
        listener = INVALID_SOCKET;
    }
    if (control != INVALID_SOCKET) {
        closesocket(control);
        control = INVALID_SOCKET;
    }
    if (process.hProcess != nullptr) {
        // The simulator leaves when its control connection closes; one that hangs is ended.
        if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = PROCESS_INFORMATION{};
    }
    ready = false;
}

std::string PhoneSim::Control(const std::string& command, DWORD timeoutMs)
{
    if (control == INVALID_SOCKET)
        return "";
    const std::string line = command + "\n";
    if (send(control, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size()))
        return "";
    const DWORD start = GetTickCount();
    size_t end;
    while ((end = controlText.find('\n')) == std::string::npos) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs)
            return "";
        const DWORD ms = timeoutMs - spent;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(control, &set);
        timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
        char buffer[256];
        int n = 0;
        if (select(0, &set, nullptr, nullptr, &wait) != 1 ||
            (n = recv(control, buffer, sizeof buffer, 0)) <= 0)
            return "";
        controlText.append(buffer, static_cast<size_t>(n));
    }
    std::string answer = controlText.substr(0, end);
    controlText.erase(0, end + 1);
    if (!answer.empty() && answer.back() == '\r')
        answer.pop_back();
    return answer;
}

unsigned long long PhoneSim::BytesToPc()
{
    const std::string stats = Control("STATS");  // "in=<n> out=<n>"
    const size_t at = stats.find("out=");
    return at == std::string::npos ? 0 : std::strtoull(stats.c_str() + at + 4, nullptr, 10);
}

bool PhoneSim::WaitForBytesToPc(unsigned long long bytes, DWORD timeoutMs)
{
    return WaitUntil([&] { return BytesToPc() >= bytes; }, timeoutMs);
}

std::string PhoneSim::Log() const
{
    std::ifstream in(logPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
