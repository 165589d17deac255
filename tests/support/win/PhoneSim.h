// A simulated phone on a COM port, for Wine tests: starts the phone simulator (a native
// program) on a free COM port of the test prefix and stops it again.
//
//   PhoneSim sim({"--profile", "siemens", "--start-in-obex"});
//   ASSERT_TRUE(sim.Ready()) << sim.Error();
//   port.portName = sim.ComName().c_str();   // "COM12"
//   ... talk to the phone ...
//   // destruction closes the control connection: the simulator exits, the port is freed
//
// COM10..COM29 of the prefix point at <QV_BUILD>/ports/COMn; the simulator links its
// pseudo-terminal there. A port is taken with an exclusive lock file
// <QV_BUILD>/ports/COMn.lock (created new, deleted when closed, also when the process dies),
// so test programs running side by side never share a port. The simulator's binary is
// named by the environment variable QV_PHONESIM (Unix path), QV_BUILD names the build tree.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// One of COM10..COM29 taken for the lifetime of the object (see above), for tests that put
// something of their own at the port's path.
class ComPortLease {
public:
    // neverUsedHere: skip the ports this process has leased before (Wine keeps treating a
    // port it once opened as a serial line for the rest of the process).
    explicit ComPortLease(bool neverUsedHere = false);
    ~ComPortLease();
    ComPortLease(const ComPortLease&) = delete;
    ComPortLease& operator=(const ComPortLease&) = delete;

    bool Taken() const { return lock != INVALID_HANDLE_VALUE; }
    const std::string& ComName() const { return comName; }  // "COMn"
    const std::string& PortsDir() const { return portsDir; }  // Unix path of the ports folder
    std::string UnixPath() const { return portsDir + "/" + comName; }  // where COMn points

private:
    HANDLE lock = INVALID_HANDLE_VALUE;
    std::string comName;
    std::string portsDir;
};

class PhoneSim {
public:
    // options: simulator options besides --control, --link and --log.
    explicit PhoneSim(const std::vector<std::string>& options = {}, DWORD readyTimeoutMs = 15000);
    ~PhoneSim();
    PhoneSim(const PhoneSim&) = delete;
    PhoneSim& operator=(const PhoneSim&) = delete;

    bool Ready() const { return ready; }
    const std::string& Error() const { return error; }
    const std::string& ComName() const { return lease.ComName(); }  // "COMn"
    std::string DevicePath() const { return "\\\\.\\" + lease.ComName(); }
    const std::string& LogPath() const { return logPath; }    // Windows path of the log
    std::string Log() const;                                   // the log's text so far
    const std::string& Pty() const { return pty; }            // as the simulator reported it

    // A command on the control connection ("STATS", "MODE?") and its one-line answer; empty
    // when none came within timeoutMs.
    std::string Control(const std::string& command, DWORD timeoutMs = 10000);
    // Waits until the simulator has sent at least `bytes` bytes to the port (its STATS).
    // Bytes the simulator has sent to the PC so far; 0 when it does not answer.
    unsigned long long BytesToPc();
    bool WaitForBytesToPc(unsigned long long bytes, DWORD timeoutMs = 20000);

    // Ends the simulator now (closes the control connection and waits for it to go),
    // which cuts the line under an open port. Safe to call twice.
    void Stop();

    // "Z:\..." path of a Unix path, as Wine shows it.
    static std::string WinePath(const std::string& unixPath);

private:
    bool Launch(const std::string& binary, const std::vector<std::string>& args);
    bool AwaitReady(DWORD timeoutMs);

    bool ready = false;
    std::string error;
    ComPortLease lease;
    std::string logPath;
    std::string pty;
    SOCKET listener = INVALID_SOCKET;
    SOCKET control = INVALID_SOCKET;
    std::string controlText;  // received on the control connection, not yet taken
    PROCESS_INFORMATION process{};
};
