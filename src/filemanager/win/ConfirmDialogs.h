// The file manager's confirmations, each a modal dialog for one question: deleting a file, a
// folder with everything in it or a group of objects, and replacing a phone file or merging
// into a phone folder during an upload. Every button ends the dialog with its own id.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "core/GString.h"
#include "obex/FTP.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"

class ConfirmDialog : public TDialog {
public:
    // templateId: the dialog resource; argument: what its message text shows; escapeAnswer:
    // the answer of Esc and the close box; shellIcon: the icon of shell32 the dialog shows.
    ConfirmDialog(int templateId, const GString& argument, int escapeAnswer, int shellIcon);
    ~ConfirmDialog() override;

    // Runs the dialog owned by owner; its answer, escapeAnswer when it could not be shown.
    int Ask(TWindow* owner);

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    bool OnCancel() override;

protected:
    // Fills what the dialog shows beyond its message text.
    virtual void Fill() {}

    StaticControl text;
    StaticControl icon;
    std::vector<std::unique_ptr<Button>> buttons;

private:
    int templateId;
    GString argument;
    int escapeAnswer;
    int shellIcon;
};

// Answers 6 (yes) or 7 (no) for the selected entries: one folder, one file or a group.
int ConfirmDelete(TWindow* owner, const std::vector<const FolderObject*>& selected);

// existing is on the phone under the name of local; count is the number of records of the
// upload (with one, only yes and no are offered). A local folder asks whether to merge.
// largeImages: the shell's large system image list for the file's icon, or null. Answers
// 6, 32, 7 or 2.
int AskReplaceDialog(TWindow* owner, const FolderObject& existing, const FileInformation& local,
                     uint32_t count, HIMAGELIST largeImages);
