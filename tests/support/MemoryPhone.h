// A phone held in memory behind the file-access interface, for the file manager's walks: a
// tree of folders and files, faults set on single objects, and a record of every call.
//
//   MemoryPhone phone;
//   phone.File("Фото/a.jpg", "bytes");
//   phone.Find("Фото")->failDelete = true;
//   ... walk ...
//   EXPECT_TRUE(phone.Exists("Фото/a.jpg"));
//
// Names are resolved the way a careless phone would: a requested name is split at '\\' and
// '/', and ".." goes up. So a walk that passes a hostile listed name on shows its damage.
// Paths in the helpers are joined with '/' (use Folder/File on a node for names holding '/').
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "obex/FTP.h"

class MemoryPhone : public FTP {
public:
    struct Node {
        std::string name;
        bool folder = false;
        std::string content;
        uint32_t size = 0;     // the listed size; the content's length unless set
        bool hasSize = true;   // false: the listing gives no size
        SystemTime time{};     // year 0: no date in the listing
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
        // Faults of this object.
        bool refuseEnter = false;   // ChangeFolder into it answers false
        bool failDelete = false;    // DeleteObject answers false
        bool keepOnDelete = false;  // DeleteObject answers true, yet it stays
        bool failList = false;      // ReadFolder inside it answers false
        int64_t cutAfter = -1;      // GetFile sends only so many bytes, then the line breaks

        Node* Child(const std::string& childName) const;
    };

    MemoryPhone();

    Node& Folder(const std::string& path);  // with the folders above it
    Node& File(const std::string& path, const std::string& content = "");
    Node& Folder(Node& parent, const std::string& name);
    Node& File(Node& parent, const std::string& name, const std::string& content = "");
    Node* Find(const std::string& path) const;
    bool Exists(const std::string& path) const { return Find(path) != nullptr; }
    // Every object as its '/'-joined path, folders with a trailing '/', sorted.
    std::set<std::string> Tree() const;
    // Puts the phone (and pathParts) into the folder at path.
    void GoTo(const std::string& path);
    std::string Cwd() const { return CurrentPath().CStr(); }
    // The calls of one kind, e.g. Calls("del "): "del <CurrentPath>|<name>".
    std::vector<std::string> Calls(const std::string& prefix) const;

    bool Connect(Socket*, const uint8_t*, uint32_t) override { return connected = true; }
    bool Disconnect() override { connected = false; return true; }
    bool ReadFolder(WaitProgress* wait) override;
    // As a folder-browsing phone: only a name of the current folder is found (a name holding
    // a path is not), and the phone states the file's length before the data.
    bool GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress) override;
    bool PutFile(FileInformation* file, OperationProgress* progress) override;
    bool ChangeFolder(const GString& path) override;
    bool CreateFolder(const GString& name) override;
    bool DeleteObject(const GString& name) override;
    bool CanCopyToDevice() override { return copyToDevice; }

    Node root;
    Node* cwd = &root;
    // Faults of requests.
    int rootRefusals = 0;  // so many root requests answer false and change nothing
    int rootIgnored = 0;   // so many root requests answer true and change nothing
    std::set<std::string> failCreate;    // folder names CreateFolder refuses
    std::map<std::string, uint32_t> failPut;  // file name -> errorCode after the refusal
    bool copyToDevice = true;
    // "cd <arg>", "list <path>", "del <path>|<name>", "put <path>|<name>", "mkdir <path>|<name>",
    // "get <path>|<name>"
    std::vector<std::string> calls;

private:
    Node* Resolve(const std::string& relative) const;
    void Log(const char* what, const GString& name);
};
