// The file manager's drop target: desktop files (a CF_HDROP list in global memory) dropped on
// the window go up into the phone's current folder. Refused while the window's own drag runs,
// while the phone is busy and when its file access takes no files. A drop is always reported
// to the source as a copy: the upload reads the files only after the drop, so a move reported
// here would let the source delete them first.
//
// The window holds one reference and cuts the object off when it goes (Detach): a caller that
// still holds it then finds a target that accepts nothing.
#pragma once

#include "filemanager/win/GDropTarget.h"

class FileManagerWindow;

class FileManager_IDropTarget : public GDropTarget {
public:
    explicit FileManager_IDropTarget(FileManagerWindow& owner) : owner(&owner) {}

    // Revokes the registration and forgets the window.
    void Detach();

protected:
    bool CanAccept(IDataObject* data) override;
    DWORD Effect(DWORD keys, DWORD allowed) override;
    void Entered() override;
    bool TakeDrop(IDataObject* data) override;

private:
    FileManagerWindow* owner;
};
