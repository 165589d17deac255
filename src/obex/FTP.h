// The one interface through which the program reaches a phone's files, and the records it
// passes around: an entry of a phone folder and a local file to send.
#pragma once

#include <cstdint>

#include "core/FileAccess.h"
#include "core/GString.h"
#include "core/List.h"
#include "obex/FileSink.h"
#include "obex/Progress.h"

class Socket;

// Windows SYSTEMTIME layout: eight unsigned 16-bit fields.
struct SystemTime {
    uint16_t year;
    uint16_t month;
    uint16_t dayOfWeek;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

// The fields of WIN32_FIND_DATAA as FindFirstFileA fills them. Times are FILETIME values
// (100 ns units since 1601-01-01 UTC) held as one 64-bit number.
struct FindData {
    uint32_t attributes;
    uint64_t creationTime;
    uint64_t lastAccessTime;
    uint64_t lastWriteTime;
    uint32_t sizeHigh;
    uint32_t sizeLow;
    char fileName[260];
    char alternateFileName[14];
};

// One entry of a phone folder.
class FolderObject {
public:
    static constexpr uint8_t kFile = 1;
    static constexpr uint8_t kFolder = 2;

    // extension := "." + the text after the last '.' of name, empty without a '.'.
    void SetExtensionFromName();

    uint8_t type = 0;
    GString name;
    GString extension;
    GString sizeText;
    SystemTime time{};  // year 0: the phone gave no date
    uint32_t size = 0;
    uint32_t mediaIndex = 0;
};

// One local file, the source of an upload.
class FileInformation {
public:
    FindData findData{};
    GString path;
};

class FTP {
public:
    FTP() = default;
    FTP(const FTP&) = delete;
    FTP& operator=(const FTP&) = delete;

    virtual ~FTP();
    virtual bool Connect(Socket* socket, const uint8_t* target, uint32_t targetLength) = 0;
    virtual bool Disconnect() = 0;
    virtual bool ReadFolder(WaitProgress* wait) = 0;
    // Reads the file entry->name of the current folder (a relative path with '\\' is sent
    // as it is) and hands its bytes to sink in order; the file's real size is what the sink
    // took. True only for a whole file: the phone ended the transfer as complete and, when
    // the size is known, exactly that many bytes arrived; a short or long copy is false.
    // The known size is the one the phone states with the data, else the listed
    // entry->size. OBEX listings may leave the size out, so there a listed 0 counts as
    // unknown and the file is read to its end; the Samsung listing always carries it. Once
    // known, the size goes to sink.Reserve before the data, and more bytes than that stop
    // the read. progress (may be null) is asked IsCancelled and told AddTransferred per
    // block. On false (refused, cut off, cancelled, a sink that said no, a wrong size) the
    // sink holds whatever arrived and the caller throws it away. The sink is not emptied
    // first. Base: false.
    virtual bool GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress);
    virtual bool PutFile(FileInformation* file, OperationProgress* progress) = 0;
    // "..": parent; "\\": root; anything else: a relative path split at '\\' and '/'. True
    // when the phone confirmed it; pathParts always names the folder the phone confirmed,
    // also after a refusal half-way or a cut line.
    virtual bool ChangeFolder(const GString& path);
    // Creates the folder in the current folder and stays there; false also when the phone
    // will not return to the current folder afterwards (pathParts then says where it is).
    virtual bool CreateFolder(const GString& name);
    virtual bool DeleteObject(const GString& name) = 0;
    virtual bool RenameObject(const GString& oldName, const GString& newName);
    // Discards input until a read of the socket returns nothing.
    virtual void DrainInput();
    virtual int LastError();
    virtual bool CanCopyFromDevice();
    virtual bool CanDelete();
    virtual bool CanCreateFolder();
    virtual bool CanRename();
    // Whether PutFile can store files at all (some AT file systems only read and delete).
    virtual bool CanCopyToDevice() { return true; }

    // The components of parts (pathParts when null) joined with "\\"; empty at the root and
    // whenever the object is not connected.
    GString CurrentPath(const List<GString>* parts = nullptr) const;

    Socket* socket = nullptr;  // owned by the port
    bool connected = false;
    List<FolderObject> entries;
    List<GString> pathParts;
    uint32_t maxFileSize = 0;
    uint32_t errorCode = 0;
    uint32_t memoryFree = 0;
    uint32_t memoryTotal = 0;
    WaitProgress* progressWindow = nullptr;  // not owned
    FileAccess localFile;

protected:
    // Scratch space for name conversions.
    char16_t wideName[260]{};
    char byteName[260]{};
};
