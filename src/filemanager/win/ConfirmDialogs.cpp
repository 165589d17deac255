#include "filemanager/win/ConfirmDialogs.h"

#include <shellapi.h>

#include "core/ByteFormat.h"
#include "filemanager/FileManagerRules.h"
#include "filemanager/LocalFileSystem.h"
#include "filemanager/win/DateTimeText.h"
#include "obex/LocalFileTime.h"
#include "resources/resource.h"

namespace {

// Icons of the system shell library: the delete and the replace pictures.
constexpr int kDeleteIcon = 161;
constexpr int kReplaceIcon = 146;

constexpr const char* kReplaceDateFormat = "dd MMMM yyyy'г., '";
constexpr const char* kReplaceTimeFormat = "HH':'mm':'ss";

constexpr int kAnswerIds[] = {IDYES, IDC_YES_TO_ALL, IDNO, IDCANCEL};

class ReplaceFileDialog : public ConfirmDialog {
public:
    ReplaceFileDialog(const FolderObject& existing, const FileInformation& local, uint32_t count,
                      HIMAGELIST largeImages)
        : ConfirmDialog(IDD_CONFIRM_REPLACE_FILE, existing.name, IDCANCEL, kReplaceIcon),
          existing(existing), local(local), count(count), largeImages(largeImages)
    {
    }
    ~ReplaceFileDialog() override
    {
        DestroyNativeWindow();
        if (fileIcon != nullptr)
            DestroyIcon(fileIcon);
    }

protected:
    void Fill() override
    {
        GString size(existing.sizeText);
        size.Append(" байт");
        oldSize.Bind(handle, IDC_REPLACE_OLD_SIZE);
        oldSize.SetLabel(size.CStr());
        oldDate.Bind(handle, IDC_REPLACE_OLD_DATE);
        oldDate.SetLabel(DateLine(existing.time).CStr());

        GString localSize;
        localSize.Format("%llu", static_cast<unsigned long long>(
                                     (static_cast<uint64_t>(local.findData.sizeHigh) << 32) | local.findData.sizeLow));
        GroupDigits(localSize);
        localSize.Append(" байт");
        newSize.Bind(handle, IDC_REPLACE_NEW_SIZE);
        newSize.SetLabel(localSize.CStr());
        SystemTime written{};
        FileTimeToLocalSystemTime(local.findData.lastWriteTime, written);
        newDate.Bind(handle, IDC_REPLACE_NEW_DATE);
        newDate.SetLabel(DateLine(written).CStr());

        oldIcon.Bind(handle, IDC_REPLACE_OLD_ICON);
        newIcon.Bind(handle, IDC_REPLACE_NEW_ICON);
        if (largeImages != nullptr) {
            SHFILEINFOA info{};
            if (SHGetFileInfoA(existing.name.CStr(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                               SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX) != 0)
                fileIcon = ImageList_GetIcon(largeImages, info.iIcon, ILD_NORMAL);
            oldIcon.SetIcon(fileIcon);
            newIcon.SetIcon(fileIcon);
        }
        if (count == 1)
            OfferOnlyYesAndNo();
    }

private:
    static GString DateLine(const SystemTime& time)
    {
        GString line("дата изменения: ");
        line.Append(FormatDateTime(time, kReplaceDateFormat, kReplaceTimeFormat));
        return line;
    }

    // "Д&а" takes the place of "Н&ет", "Н&ет" that of "Отмена".
    void OfferOnlyYesAndNo()
    {
        RECT noPlace = ChildRect(IDNO);
        RECT cancelPlace = ChildRect(IDCANCEL);
        ShowWindow(GetDlgItem(handle, IDC_YES_TO_ALL), SW_HIDE);
        ShowWindow(GetDlgItem(handle, IDCANCEL), SW_HIDE);
        SetWindowPos(GetDlgItem(handle, IDYES), nullptr, noPlace.left, noPlace.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(GetDlgItem(handle, IDNO), nullptr, cancelPlace.left, cancelPlace.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    RECT ChildRect(int id) const
    {
        RECT rect{};
        HWND child = GetDlgItem(handle, id);
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    const FolderObject& existing;
    const FileInformation& local;
    uint32_t count;
    HIMAGELIST largeImages;
    HICON fileIcon = nullptr;
    StaticControl oldSize, oldDate, newSize, newDate, oldIcon, newIcon;
};

}  // namespace

ConfirmDialog::ConfirmDialog(int templateId, const GString& argument, int escapeAnswer, int shellIcon)
    : templateId(templateId), argument(argument), escapeAnswer(escapeAnswer), shellIcon(shellIcon)
{
}

ConfirmDialog::~ConfirmDialog() { DestroyNativeWindow(); }

int ConfirmDialog::Ask(TWindow* owner)
{
    const INT_PTR answer = DoModal(MAKEINTRESOURCEA(templateId), owner);
    return answer <= 0 ? escapeAnswer : static_cast<int>(answer);
}

INT_PTR ConfirmDialog::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    text.Bind(hwnd, IDC_CONFIRM_TEXT);
    text.SetLabel(FillDialogText(text.GetText(), argument).CStr());
    icon.Bind(hwnd, IDC_CONFIRM_ICON);
    // The shell library stays loaded for the program's life; without it the place stays empty.
    if (HMODULE shell = GetModuleHandleA("shell32.dll"))
        icon.SetIcon(static_cast<HICON>(
            LoadImageA(shell, MAKEINTRESOURCEA(shellIcon), IMAGE_ICON, 32, 32, LR_SHARED)));
    for (int id : kAnswerIds) {
        if (GetDlgItem(hwnd, id) == nullptr)
            continue;
        auto button = std::make_unique<Button>();
        if (button->Bind(hwnd, id))
            buttons.push_back(std::move(button));
    }
    Fill();
    SetForegroundWindow(hwnd);
    return TRUE;
}

LRESULT ConfirmDialog::OnCommand(int, int id, HWND)
{
    if (id == IDYES || id == IDNO || id == IDC_YES_TO_ALL) {
        EndDialog(handle, id);
        return 0;
    }
    return kNotHandled;
}

bool ConfirmDialog::OnCancel()
{
    if (escapeAnswer == IDCANCEL)
        return true;
    EndDialog(handle, escapeAnswer);
    return false;
}

int ConfirmDelete(TWindow* owner, const std::vector<const FolderObject*>& selected)
{
    if (selected.empty())
        return IDNO;
    if (selected.size() == 1) {
        const FolderObject& entry = *selected.front();
        const bool folder = entry.type == FolderObject::kFolder;
        ConfirmDialog dialog(folder ? IDD_CONFIRM_DELETE_FOLDER : IDD_CONFIRM_DELETE_FILE, entry.name, IDNO,
                             kDeleteIcon);
        return dialog.Ask(owner);
    }
    ConfirmDialog dialog(IDD_CONFIRM_DELETE_OBJECTS, GString(static_cast<uint32_t>(selected.size())), IDNO,
                         kDeleteIcon);
    return dialog.Ask(owner);
}

int AskReplaceDialog(TWindow* owner, const FolderObject& existing, const FileInformation& local, uint32_t count,
                     HIMAGELIST largeImages)
{
    if ((local.findData.attributes & kAttributeDirectory) != 0) {
        ConfirmDialog dialog(IDD_CONFIRM_REPLACE_FOLDER, existing.name, IDCANCEL, kReplaceIcon);
        return dialog.Ask(owner);
    }
    ReplaceFileDialog dialog(existing, local, count, largeImages);
    return dialog.Ask(owner);
}
