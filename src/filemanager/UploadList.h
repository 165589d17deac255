// The desktop objects of one upload, collected from a dropped or pasted file list before the
// upload starts: every dropped object in the order of the list, each folder followed at once
// by everything inside it, depth first.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "filemanager/LocalFileSystem.h"
#include "filemanager/SkippedItems.h"
#include "obex/FTP.h"

struct UploadRecord {
    FileInformation file;
    uint32_t depth = 0;       // 0: a dropped object; n: n folders below it
    uint32_t group = 0;       // dropped objects from one desktop folder share a group
    uint32_t fileNumber = 0;  // 1-based place among the files of the upload; 0 for a folder

    bool IsFolder() const { return (file.findData.attributes & kAttributeDirectory) != 0; }
    uint64_t Size() const
    {
        return (static_cast<uint64_t>(file.findData.sizeHigh) << 32) | file.findData.sizeLow;
    }
};

class UploadList {
public:
    // The longest desktop path the ANSI file functions take.
    static constexpr uint32_t kMaxPath = 259;

    // Replaces the records with those of the dropped paths. What cannot be sent safely is
    // left out and listed in skipped: paths whose ANSI form holds '?' or '*' (a wildcard to the
    // file functions could find another file), paths the file system finds under another
    // name, links to folders (their contents are not walked), paths too long, missing ones.
    void Collect(const std::vector<GString>& droppedPaths, LocalFileSystem& fileSystem);

    std::vector<UploadRecord> records;
    uint64_t totalBytes = 0;
    uint32_t fileCount = 0;
    std::vector<SkippedItem> skipped;

private:
    void Add(const GString& path, const FindData& found, uint32_t depth, uint32_t group,
             LocalFileSystem& fileSystem);
    void AddContents(const GString& folder, uint32_t depth, uint32_t group,
                     LocalFileSystem& fileSystem);
    void Skip(const GString& path, SkipReason reason) { skipped.push_back({path, reason}); }
};
