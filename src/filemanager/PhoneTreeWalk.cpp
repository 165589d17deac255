#include "filemanager/PhoneTreeWalk.h"

#include <string>

#include "filemanager/FolderSteps.h"
#include "filemanager/ListedName.h"

using folder_steps::ChildPath;
using folder_steps::EnterListed;
using folder_steps::ReturnTo;
using folder_steps::SamePath;

GString PhoneItem::PhonePath() const
{
    return ChildPath(phoneFolder, phoneName);
}

namespace {

// The desktop compares names without regard to case, Cyrillic letters included.
std::string DesktopKey(const GString& path)
{
    GString key(path);
    key.ToUpper();
    return std::string(key.CStr(), key.Length());
}

}  // namespace

GString PhoneTreeWalk::UniqueDescriptorName(const GString& folder, const GString& safeName,
                                            bool isFolder)
{
    GString candidate = ChildPath(folder, safeName);
    if (usedNames.insert(DesktopKey(candidate)).second)
        return candidate;
    // Two phone names made safe the same way (or differing only in case) would land on one
    // desktop file, the later one over the earlier: number the later ones as the desktop does.
    const std::string name(safeName.CStr(), safeName.Length());
    const size_t dot = isFolder ? std::string::npos : name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? std::string() : name.substr(dot);
    for (uint32_t n = 2;; ++n) {
        const std::string numbered = stem + " (" + std::to_string(n) + ")" + extension;
        candidate = ChildPath(folder, GString(numbered.c_str()));
        if (usedNames.insert(DesktopKey(candidate)).second)
            return candidate;
    }
}

PhoneItemSet PhoneTreeWalk::Collect(const std::vector<FolderObject>& selection)
{
    set = PhoneItemSet();
    usedNames.clear();
    start = ftp.CurrentPath();
    std::vector<size_t> folders;
    for (const FolderObject& entry : selection) {
        if (AddItem(entry, GString(), GString()) && entry.type == FolderObject::kFolder)
            folders.push_back(set.items.size() - 1);
    }
    for (size_t index : folders) {
        if (set.stopped) {
            set.items[index].complete = false;
            continue;
        }
        set.items[index].complete = EnterAndAdd(index, start, 0);
    }
    if (!SamePath(ftp.CurrentPath(), start)) {
        GString failedStep;
        ReturnTo(ftp, start, failedStep);
    }
    return set;
}

bool PhoneTreeWalk::AddItem(const FolderObject& entry, const GString& phoneFolder,
                            const GString& descriptorFolder)
{
    const GString path = ChildPath(phoneFolder, entry.name);
    // A folder is entered by its name, and an empty name asks the phone for no object at all.
    if (entry.name.IsEmpty() ||
        (entry.type == FolderObject::kFolder && !IsSafeListedName(entry.name))) {
        set.skipped.push_back({path, SkipReason::UnsafeName});
        return false;
    }
    PhoneItem item;
    item.descriptorName = UniqueDescriptorName(descriptorFolder, DesktopSafeName(entry.name),
                                               entry.type == FolderObject::kFolder);
    // Cut short, the name would land elsewhere, or a move would delete what was not delivered.
    if (item.descriptorName.Length() > kMaxDescriptorName) {
        set.skipped.push_back({path, SkipReason::NameTooLong});
        return false;
    }
    item.phoneFolder = phoneFolder;
    item.phoneName = entry.name;
    item.isFolder = entry.type == FolderObject::kFolder;
    item.hasTime = entry.time.year != 0 && entry.time.month != 0;
    if (item.hasTime)
        item.time = entry.time;
    // A listing without a size attribute leaves the size text empty.
    item.hasSize = !item.isFolder && !entry.sizeText.IsEmpty();
    if (item.hasSize) {
        item.size = entry.size;
        set.totalBytes += entry.size;
    }
    set.items.push_back(item);
    return true;
}

bool PhoneTreeWalk::EnterAndAdd(size_t index, const GString& parent, uint32_t depth)
{
    const GString name = set.items[index].phoneName;
    if (depth + 1 > kMaxDepth) {
        set.skipped.push_back({set.items[index].PhonePath(), SkipReason::TooDeep});
        return false;
    }
    if (!EnterListed(ftp, name)) {
        if (!questions.AskContinue(kAskChangeDirFailed, name))
            set.stopped = true;
        // A refused change leaves the phone in parent; anything else must be mended first.
        if (!SamePath(ftp.CurrentPath(), parent)) {
            GString failedStep;
            if (!ReturnTo(ftp, parent, failedStep)) {
                set.skipped.push_back({failedStep, SkipReason::WrongFolder});
                set.stopped = true;
            }
        }
        return false;
    }
    const bool whole = AddTree(index, depth + 1);
    GString failedStep;
    if (!ReturnTo(ftp, parent, failedStep)) {
        set.skipped.push_back({failedStep, SkipReason::WrongFolder});
        set.stopped = true;
        return false;
    }
    return whole;
}

bool PhoneTreeWalk::AddTree(size_t index, uint32_t depth)
{
    const GString folder = set.items[index].PhonePath();
    if (!ftp.ReadFolder(nullptr)) {
        set.skipped.push_back({folder, SkipReason::Unreadable});
        return false;
    }
    const GString descriptorFolder = set.items[index].descriptorName;
    std::vector<FolderObject> listing;
    ListIterator<FolderObject> it(ftp.entries);
    for (it.First(); !it.IsDone(); it.Next())
        listing.push_back(*it.CurrentItem());

    bool whole = true;
    std::vector<size_t> folders;
    for (const FolderObject& entry : listing) {
        if (!AddItem(entry, folder, descriptorFolder))
            whole = false;
        else if (entry.type == FolderObject::kFolder)
            folders.push_back(set.items.size() - 1);
    }
    const GString here = ChildPath(start, folder);
    for (size_t child : folders) {
        if (set.stopped) {
            set.items[child].complete = false;
            whole = false;
            continue;
        }
        set.items[child].complete = EnterAndAdd(child, here, depth);
        whole = whole && set.items[child].complete;
    }
    return whole && !set.stopped;
}
