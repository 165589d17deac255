// Objects an operation left out on purpose, and the text that tells the user about them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"

enum class SkipReason {
    NotFound,              // the desktop path no longer exists
    NameNotRepresentable,  // the name has no form in the ANSI code page ('?' or '*' stand in)
    NameChanged,           // the file system found another name than the one asked for
    ReparsePoint,          // a junction or link to a folder: its contents are not walked
    PathTooLong,           // a desktop path longer than the file functions accept
    UnsafeName,            // a listed name that would reach another folder
    TooDeep,               // more nested folders than an operation walks
    NameTooLong,           // the name the desktop would get is too long
    Unreadable,            // a folder whose contents could not be listed
    WrongFolder,           // the phone could not be brought back to the folder in use
    NotAccepted,           // the phone's file access takes no files
};

struct SkippedItem {
    GString name;
    SkipReason reason;
};

// "Не переданы следующие объекты:" with one line per item (at most maxLines, then how many
// more); empty when nothing was skipped.
GString SkippedItemsText(const std::vector<SkippedItem>& items, uint32_t maxLines = 15);
