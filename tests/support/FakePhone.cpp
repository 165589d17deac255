#include "support/FakePhone.h"

#include "support/ScriptedSocket.h"

const char* const FakePhone::kError = "\x01error";
const char* const FakePhone::kSilent = "\x01silent";
const char* const FakePhone::kSwitchToObex = "\x01obex";

namespace {

std::string Be16(uint32_t v)
{
    return std::string{static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

std::string Response(uint8_t code, const std::string& payload = std::string())
{
    return std::string(1, static_cast<char>(code)) + Be16(3 + static_cast<uint32_t>(payload.size())) + payload;
}

uint8_t At(const std::string& s, size_t i) { return i < s.size() ? static_cast<uint8_t>(s[i]) : 0; }

// The data of the first header with the given id (2-byte length encoding) from offset on;
// found is false when there is none.
std::string HeaderData(const std::string& packet, size_t offset, uint8_t id, bool& found)
{
    found = false;
    size_t p = offset;
    while (p + 3 <= packet.size()) {
        const uint8_t hid = At(packet, p);
        size_t length;
        switch (hid >> 6) {
        case 0:
        case 1:
            length = (static_cast<size_t>(At(packet, p + 1)) << 8) | At(packet, p + 2);
            break;
        case 2:
            length = 2;
            break;
        default:
            length = 5;
            break;
        }
        if (length < 1 || p + length > packet.size())
            return std::string();
        if (hid == id && (hid >> 6) <= 1) {
            found = true;
            return packet.substr(p + 3, length - 3);
        }
        p += length;
    }
    return std::string();
}

// UTF-16 big-endian name (terminator dropped) as ASCII.
std::string NameText(const std::string& utf16)
{
    std::string name;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        if (utf16[i] == 0 && utf16[i + 1] == 0)
            break;
        name.push_back(utf16[i + 1]);
    }
    return name;
}

bool LooksLikeObex(const std::string& w)
{
    return w.size() >= 3 && (At(w, 0) & 0x80) != 0 && ((size_t{At(w, 1)} << 8) | At(w, 2)) == w.size();
}

}  // namespace

void FakePhone::Attach(ScriptedSocket& socket)
{
    socket.SetResponder([this](const std::string& written) { return Respond(written); });
}

std::string FakePhone::Respond(const std::string& written)
{
    if (written == "+++") {
        log.push_back("+++");
        obexMode = false;
        return std::string();
    }
    if (obexMode)
        return LooksLikeObex(written) ? RespondObex(written) : std::string();
    return RespondAt(written);
}

std::string FakePhone::RespondAt(const std::string& written)
{
    std::string command = written;
    if (!command.empty() && command.back() == '\r')
        command.pop_back();
    if (command.rfind("AT", 0) != 0)
        return std::string();
    log.push_back(command);
    auto it = at.find(written);
    if (it == at.end() || it->second == kError)
        return "\r\nERROR\r\n";
    if (it->second == kSilent)
        return std::string();
    if (it->second == kSwitchToObex) {
        obexMode = true;
        return "\r\nOK\r\n";
    }
    if (it->second.empty())
        return "\r\nOK\r\n";
    return "\r\n" + it->second + "\r\n\r\nOK\r\n";
}

std::string FakePhone::RespondObex(const std::string& packet)
{
    const uint8_t opcode = At(packet, 0);
    bool found = false;
    switch (opcode) {
    case 0x80: {
        std::string target = HeaderData(packet, 7, 0x46, found);
        log.push_back("CONNECT " + std::to_string(target.size()));
        if (refuseConnects > 0) {
            --refuseConnects;
            return Response(0xC3);
        }
        for (const std::string& accepted : targets) {
            if (accepted == target) {
                std::string payload{0x10, 0x00, 0x04, 0x00};
                if (!target.empty())
                    payload += std::string(1, '\x4A') + Be16(3 + static_cast<uint32_t>(target.size())) + target;
                return Response(0xA0, payload);
            }
        }
        return Response(0xC3);
    }
    case 0x81:
        log.push_back("DISCONNECT");
        return Response(0xA0);
    case 0x83:
    case 0x03: {
        if (At(packet, 3) == 0x4C) {
            const uint8_t which = At(packet, 8);
            log.push_back("MEMORY " + std::to_string(which));
            const uint32_t v = which == 1 ? memoryTotal : memoryFree;
            std::string payload{0x4C, 0x00, 0x09, 0x32, 0x04, static_cast<char>(v >> 24),
                                static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
            return Response(0xA0, payload);
        }
        std::string name = NameText(HeaderData(packet, 3, 0x01, found));
        log.push_back("GET " + name);
        auto it = objects.find(name);
        if (it == objects.end())
            return Response(0xC4);
        return Response(0xA0, std::string(1, '\x49') + Be16(3 + static_cast<uint32_t>(it->second.size())) + it->second);
    }
    default:
        log.push_back("OBEX " + std::to_string(opcode));
        return Response(0xD1);
    }
}
