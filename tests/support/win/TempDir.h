// A fresh folder under the system's temporary folder, removed with its files at the end.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Windows path without a trailing backslash.
    const std::string& Path() const { return path; }
    std::string File(const char* name) const { return path + "\\" + name; }

private:
    std::string path;
};

// Removes a folder with everything in it.
void RemoveTree(const std::string& dir);

// "/a/b" as Wine sees it from Windows: "Z:\a\b".
std::string UnixToWindowsPath(const std::string& unixPath);
