// What the OBEX Wine tests share: a folder tree for the simulated phone to serve, and an
// OBEX session on the simulator's COM port.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "devices/TSerialPort.h"
#include "obex/OBEX_FTP.h"
#include "support/win/PhoneSim.h"
#include "transport/win/SocketSerial.h"

// A folder under the build tree (the simulator is a native program and needs a Unix path),
// removed with everything in it at the end.
class PhoneRoot {
public:
    PhoneRoot();
    ~PhoneRoot();
    PhoneRoot(const PhoneRoot&) = delete;
    PhoneRoot& operator=(const PhoneRoot&) = delete;

    const std::string& Unix() const { return unixPath; }
    // Windows path of a file or folder below the root ("a\\b.txt"; ANSI names).
    std::string Path(const std::string& relative) const;
    void Folder(const std::string& relative) const;
    void Write(const std::string& relative, const std::string& content) const;
    // The file's content; empty when it cannot be read.
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::string unixPath;
    std::string winPath;
};

// A file's last write time in whole seconds of the system clock; 0 when it cannot be read.
uint64_t WriteTimeSeconds(const std::string& path);

// Content that shows any byte out of place.
std::string Pattern(size_t size, uint32_t seed = 7);

extern const uint8_t kFolderBrowsingTarget[16];
extern const uint8_t kSiemensTarget[16];

// An OBEX session on the simulator's COM port (serial port, OBEX channel).
struct ObexLine {
    explicit ObexLine(PhoneSim& sim);
    bool Connect(const uint8_t* target = kFolderBrowsingTarget, uint32_t length = 16);
    std::string Path() const { return obex->CurrentPath().CStr(); }
    // Fetches a file of the current folder listed with size (0: no size listed); answers the
    // file when the read was whole, else "" (lastArrived then tells how much came).
    std::string Get(const char* name, uint32_t size);
    uint32_t lastArrived = 0;

    TSerialPort port;
    SocketSerial socket{&port, 1};
    std::unique_ptr<OBEX_FTP> obex = std::make_unique<OBEX_FTP>();
};

// A local file to upload, with its find data filled as the file manager does.
FileInformation LocalFile(const std::string& windowsPath);
