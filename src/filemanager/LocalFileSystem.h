// The desktop's file system as the upload sees it: one object looked up by its path, and the
// objects of one folder. Windows answers with FindFirstFileA / FindNextFileA; the native build
// with POSIX calls (symbolic links stand for reparse points there).
#pragma once

#include <vector>

#include "core/GString.h"
#include "obex/FTP.h"

constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeReparsePoint = 0x400;

class LocalFileSystem {
public:
    virtual ~LocalFileSystem() = default;
    // The separator put between a folder's path and an object's name.
    virtual char Separator() const = 0;
    // Looks path up; false when it does not exist.
    virtual bool Find(const GString& path, FindData& out) = 0;
    // The objects of the folder at path, without "." and "..", in the order the file system
    // gives them; false when the folder cannot be read.
    virtual bool List(const GString& path, std::vector<FindData>& out) = 0;
};

// The file system of the machine the program runs on.
LocalFileSystem& SystemFileSystem();
