// The local files the user picks in the system's open-file dialog, looked up on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "core/List.h"
#include "core/MessageReporter.h"
#include "obex/FTP.h"

class FileSelector {
public:
    static constexpr uint32_t kBufferSize = 0xFFFF;

    FileSelector();
    ~FileSelector();
    FileSelector(const FileSelector&) = delete;
    FileSelector& operator=(const FileSelector&) = delete;

    // Windows only. Runs the dialog (filter null: none; initialFolder null: the folder of the
    // last selection) and replaces files and folder with what was chosen; files that no
    // longer exist are left out. True when at least one file was taken.
    bool SelectFiles(WindowHandle owner, const char* filter, const char* initialFolder,
                     const char* title, bool multiple, bool mustExist);

    // The paths of a file dialog's result: the folder in the first fileOffset bytes, then the
    // names. One file: "C:\\dir\\a.txt" with fileOffset at "a.txt" (folder keeps its
    // backslash). Several: "C:\\dir", NUL, then each name with its NUL and one more NUL at the
    // end. Nothing is read at or beyond capacity; a buffer that breaks either form (an offset
    // outside the text, a name without its NUL) gives false and no paths.
    static bool ParsePaths(const char* buffer, size_t capacity, size_t fileOffset,
                           GString& folder, std::vector<GString>& paths);

    List<FileInformation> files;  // owned, in the dialog's order
    GString folder;               // of the last selection; the next dialog starts there

private:
    std::vector<char> fileBuffer;
    std::vector<char> titleBuffer;
};
