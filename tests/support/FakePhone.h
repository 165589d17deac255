// A phone for device and discovery tests: answers what the program writes to a
// ScriptedSocket, in AT mode or (after the Siemens switch, or from the start) in OBEX mode.
//
//   FakePhone phone;
//   phone.at["AT+CGMI\r"] = "SIEMENS";          // information line, then OK
//   phone.at["AT^SQWE=3\r"] = FakePhone::kSwitchToObex;
//   phone.targets.push_back(FakePhone::Target(SiemensTarget));
//   phone.Attach(socket);
//   ... code under test ...
//   EXPECT_EQ(phone.log, (std::vector<std::string>{"AT+CGMI", ...}));
//
// AT mode: a command listed in `at` is answered "\r\n<line>\r\nOK\r\n" (an empty line: just
// OK; kError: "\r\nERROR\r\n"; kSilent: nothing); any other AT command gets ERROR. Text that
// arrives in OBEX mode is not answered, except "+++", which returns to AT mode. OBEX mode:
// CONNECT is accepted when its target (or none) is in `targets`, else answered 0xC3; GET of
// a name in `objects` returns the body in one response, other names 0xC4; DISCONNECT 0xA0;
// the Siemens memory query answers memoryTotal / memoryFree.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ScriptedSocket;

class FakePhone {
public:
    static const char* const kError;
    static const char* const kSilent;
    // The command's answer is OK and the line is in OBEX mode afterwards.
    static const char* const kSwitchToObex;

    template <std::size_t N>
    static std::string Target(const uint8_t (&bytes)[N])
    {
        return std::string(reinterpret_cast<const char*>(bytes), N);
    }

    // Answers every write of the socket from now on.
    void Attach(ScriptedSocket& socket);
    std::string Respond(const std::string& written);

    std::map<std::string, std::string> at;
    std::vector<std::string> targets;  // accepted CONNECT targets ("" = no target header)
    std::map<std::string, std::string> objects;
    int refuseConnects = 0;  // so many CONNECT requests are refused whatever their target
    uint32_t memoryTotal = 0;
    uint32_t memoryFree = 0;
    bool obexMode = false;
    // What the phone understood, in order: AT commands without "\r", "+++", and
    // "CONNECT <n>" (n = target length), "GET <name>", "DISCONNECT", "MEMORY <which>",
    // "OBEX <opcode>" for anything else.
    std::vector<std::string> log;

private:
    std::string RespondAt(const std::string& written);
    std::string RespondObex(const std::string& packet);
};
