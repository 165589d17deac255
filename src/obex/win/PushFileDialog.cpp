// The open-file dialog of the push: the user's choice read back into existing local files.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include "obex/OBEX_Push.h"
#include "obex/win/FindDataWin.h"
#include "resources/resource.h"

bool FileSelector::SelectFiles(WindowHandle owner, const char* filter, const char* initialFolder,
                               const char* title, bool multiple, bool mustExist)
{
    if (initialFolder != nullptr)
        folder = initialFolder;
    fileBuffer[0] = '\0';
    titleBuffer[0] = '\0';
    const GString startFolder(folder);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileBuffer.data();
    dialog.nMaxFile = kBufferSize;
    dialog.lpstrFileTitle = titleBuffer.data();
    dialog.nMaxFileTitle = kBufferSize;
    dialog.lpstrInitialDir = startFolder.IsEmpty() ? nullptr : startFolder.CStr();
    dialog.lpstrTitle = title;
    // Files to send must exist: the dialog is not to offer creating one.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY |
                   (multiple ? OFN_ALLOWMULTISELECT : 0) |
                   (mustExist ? OFN_FILEMUSTEXIST : OFN_CREATEPROMPT);
    files.DeleteAll();
    if (!GetOpenFileNameA(&dialog)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            const MessageArgs none;
            Reporter().ReportFor(owner, MessageKind::ResourceText, IDS_PUSH_TOO_MANY, none);
        }
        return false;
    }
    std::vector<GString> paths;
    if (!ParsePaths(fileBuffer.data(), fileBuffer.size(), dialog.nFileOffset, folder, paths))
        return false;
    for (const GString& path : paths) {
        auto* file = new FileInformation;
        // A file gone since the dialog saw it, or a folder, is not sent.
        if (!FileInformationFromPath(path.CStr(), *file) ||
            (file->findData.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            delete file;
            continue;
        }
        files.Append(file);
    }
    return files.Count() > 0;
}

bool OBEX_Push::SelectFiles(WindowHandle owner)
{
    if (IsPushing())
        return false;
    return selection.SelectFiles(owner, nullptr, nullptr, "Выбор объектов", true, true);
}
