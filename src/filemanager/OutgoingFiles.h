// What one copy out of the phone offers the desktop, and what the desktop has taken of it:
// the records of the tree walk, the folder the copy started in, and which files the receiver
// read to their end. A move deletes from the phone only what was delivered.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "filemanager/PhoneTreeWalk.h"
#include "obex/FTP.h"

class OutgoingFiles {
public:
    OutgoingFiles() = default;
    OutgoingFiles(PhoneItemSet set, GString start);

    const std::vector<PhoneItem>& Items() const { return set.items; }
    const PhoneItemSet& Set() const { return set; }
    const GString& Start() const { return start; }
    bool IsFile(size_t index) const { return index < set.items.size() && !set.items[index].isFolder; }

    // The receiver has read every byte of the file at index, which the phone sent whole.
    void MarkDelivered(size_t index);
    bool Delivered(size_t index) const { return index < delivered.size() && delivered[index]; }
    bool AllFilesDelivered() const;
    // The number of the file at index among the files (from 1), and how many there are.
    uint32_t FileNumber(size_t index) const;
    uint32_t FileCount() const;

    // The selected objects that a move may delete from the starting folder: each file that
    // was delivered, and each folder whose whole tree is in the set with every file of it
    // delivered. Everything else stays on the phone.
    std::vector<FolderObject> MoveSelection() const;

private:
    bool TreeDelivered(const PhoneItem& folder) const;

    PhoneItemSet set;
    GString start;
    std::vector<bool> delivered;
};
