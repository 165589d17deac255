// A folder tree for a simulated phone's memory, under the build tree (the simulator takes Unix
// paths), removed with its files at the end; and small helpers around it.
#pragma once

#include <string>

class PhoneSim;
class TSerialPort;

class PhoneTree {
public:
    // kind names the tree's folder ("devices-<pid>-<n>"), so trees of tests are told apart.
    explicit PhoneTree(const char* kind = "phone");
    ~PhoneTree();
    PhoneTree(const PhoneTree&) = delete;
    PhoneTree& operator=(const PhoneTree&) = delete;

    // Relative paths use '\\' and ANSI (Windows-1251) names; Wine keeps them as UTF-8.
    std::string Win(const std::string& relative = "") const;
    void Folder(const std::string& relative) const;
    void File(const std::string& relative, const std::string& content) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

    static void WriteLocal(const std::string& path, const std::string& content);
    static std::string ReadLocal(const std::string& path);

    std::string unixRoot;
};

// Points a serial port at the simulator's COM port.
void OnSim(TSerialPort& port, const PhoneSim& sim);
