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
#include "support/win/PhoneTree.h"
#include "transport/Socket.h"

namespace samsung_test {

// The Samsung tests' trees are told apart from other tests' by their folder name.
class PhoneTree : public ::PhoneTree {
public:
    PhoneTree() : ::PhoneTree("samsung") {}
};

using ::OnSim;

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
