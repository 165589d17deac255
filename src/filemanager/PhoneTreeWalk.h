// What the file manager offers the desktop when phone objects are copied out: one record per
// selected object and per object inside the selected folders, in the order the desktop
// creates them (the selected objects first, then folder by folder each folder's objects
// followed by the trees of its subfolders). The data object builds its file descriptors and
// streams from these records.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/GString.h"
#include "filemanager/OperationQuestions.h"
#include "filemanager/SkippedItems.h"
#include "obex/FTP.h"

struct PhoneItem {
    // Where the object lies below the starting folder, with the phone's real names: its
    // folder (components joined with "\\", empty for a selected object) and its own name.
    GString phoneFolder;
    GString phoneName;
    // The relative path the desktop gets, each part made safe by DesktopSafeName and numbered
    // where it would meet an earlier one.
    GString descriptorName;
    bool isFolder = false;
    bool hasTime = false;  // false: the phone gave no date
    SystemTime time{};
    bool hasSize = false;  // false: the phone gave no size (never for a folder)
    uint32_t size = 0;
    // A folder whose whole tree is in the set (a move may delete only such a folder); always
    // true for a file.
    bool complete = true;

    // phoneFolder and phoneName joined: the path of the object relative to the starting folder.
    GString PhonePath() const;
};

struct PhoneItemSet {
    std::vector<PhoneItem> items;
    std::vector<SkippedItem> skipped;
    uint64_t totalBytes = 0;  // of the files with a known size
    bool stopped = false;     // "Нет" to a question, or the phone lost its way: trees left out
};

class PhoneTreeWalk {
public:
    // The desktop's limit for a relative path in a file descriptor.
    static constexpr uint32_t kMaxDescriptorName = 259;
    // Folders nested deeper than this below the starting folder are left out.
    static constexpr uint32_t kMaxDepth = 32;

    PhoneTreeWalk(FTP& ftp, ContinueQuestions& questions) : ftp(ftp), questions(questions) {}

    // Describes selection (copies of entries of the current folder) and the trees of its
    // folders. A folder that cannot be entered asks 1007 ("Нет" stops adding trees); when the
    // phone cannot be brought back to a folder of the walk, no further tree is added. The
    // phone ends in the starting folder when it can be brought back.
    PhoneItemSet Collect(const std::vector<FolderObject>& selection);

private:
    // Adds item for entry into the set; false (and the entry is reported) when its
    // descriptor name is too long or its name cannot be used.
    bool AddItem(const FolderObject& entry, const GString& phoneFolder,
                 const GString& descriptorFolder);
    // Adds the tree of the folder at item index (the phone is in it); answers whether the
    // whole tree went in.
    bool AddTree(size_t index, uint32_t depth);
    // Enters the folder of item index from its parent, adds its tree, comes back.
    bool EnterAndAdd(size_t index, const GString& parent, uint32_t depth);

    // safeName inside folder, or a numbered form of it that no earlier item of the set uses.
    GString UniqueDescriptorName(const GString& folder, const GString& safeName, bool isFolder);

    FTP& ftp;
    ContinueQuestions& questions;
    PhoneItemSet set;
    std::set<std::string> usedNames;  // descriptor paths given out, as the desktop compares them
    GString start;
};
