// The file list's logic without a window: its order, its view styles, and the status line and
// command states computed from a snapshot of the selection.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "obex/FTP.h"

// Folders before files; entries of one type by their names, byte-wise and case-sensitively.
// A null entry (the placeholder of a new folder) compares equal to everything.
// Answers < 0, 0 or > 0.
int CompareEntries(const FolderObject* a, const FolderObject* b);

// View style commands and the list control's view codes.
constexpr uint32_t kCommandLargeIcons = 311;
constexpr uint32_t kCommandSmallIcons = 312;
constexpr uint32_t kCommandList = 313;
constexpr uint32_t kCommandDetails = 314;
// The view code of a style command; -1 for any other command.
int ViewCodeForCommand(uint32_t command);
// The style command of a view code; 0 for an unknown code.
uint32_t CommandForViewCode(int viewCode);

// What the file-access object said it can do, read once when the session opens.
struct FileAccessCapabilities {
    bool copyFromDevice = false;
    bool copyToDevice = false;
    bool canDelete = false;
    bool createFolder = false;
    bool rename = false;
};

struct FileCommandStates {
    bool copy = false;
    bool del = false;
    bool paste = false;
    bool rename = false;
};

struct ListStatus {
    GString text;           // "Объектов: %d" or "Выделено объектов: %d"
    bool showSize = false;  // false: the size part of the status bar is cleared
    uint64_t size = 0;      // bytes of the counted files
    FileCommandStates commands;
};

// items: every item of the list, selected: the selected ones; null stands for an item
// without an entry (a new folder's placeholder), which counts but has no size.
ListStatus ComputeListStatus(const std::vector<const FolderObject*>& items,
                             const std::vector<const FolderObject*>& selected,
                             const FileAccessCapabilities& capabilities,
                             bool clipboardOffersFiles);
