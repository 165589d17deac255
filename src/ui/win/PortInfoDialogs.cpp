#include "ui/win/PortInfoDialogs.h"

#include "resources/resource.h"

namespace {

constexpr int kOkPicture = 0;
constexpr int kHelpPicture = 4;
constexpr int kProfileColumnWidth = 130;
constexpr int kDescriptionColumnWidth = 320;
constexpr int kDescriptionBufferSize = 1024;

void BindPictureButton(Button& button, HWND dialog, int id, int picture)
{
    button.Bind(dialog, id);
    button.SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, picture);
}

}  // namespace

SerialPortInfoDialog::SerialPortInfoDialog(std::vector<GString> lines) : lines(std::move(lines)) {}

SerialPortInfoDialog::~SerialPortInfoDialog() { DestroyNativeWindow(); }

INT_PTR SerialPortInfoDialog::Run(TWindow* owner) { return DoModal("IDD_DIALOG_SERIALPORT_INFO", owner); }

INT_PTR SerialPortInfoDialog::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    list.Bind(hwnd, IDC_PORT_LIST, 0, nullptr);
    for (const GString& line : lines)
        list.AddRow(line.CStr(), ListBoxRow());
    BindPictureButton(ok, hwnd, IDOK, kOkPicture);
    BindPictureButton(help, hwnd, IDHELP, kHelpPicture);
    return TRUE;
}

ProfileListDialog::ProfileListDialog(const char* templateName, const GString& portName,
                                     std::vector<ProfileLine> profiles)
    : templateName(templateName), portName(portName), profiles(std::move(profiles))
{
}

ProfileListDialog::~ProfileListDialog() { DestroyNativeWindow(); }

INT_PTR ProfileListDialog::Run(TWindow* owner) { return DoModal(templateName, owner); }

INT_PTR ProfileListDialog::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    name.Bind(hwnd, IDC_PORT_NAME);
    name.SetFontStyle(TWindow::kBold);
    name.SetLabel(portName.CStr());
    BindPictureButton(ok, hwnd, IDOK, kOkPicture);
    BindPictureButton(help, hwnd, IDHELP, kHelpPicture);
    list.Bind(hwnd, IDC_PROFILE_LIST);
    list.InsertColumn(0, "Профиль", kProfileColumnWidth);
    list.InsertColumn(1, "Описание", kDescriptionColumnWidth);
    char description[kDescriptionBufferSize];
    for (const ProfileLine& line : profiles) {
        const int row = list.InsertItem(list.ItemCount(), line.profile.CStr());
        description[0] = '\0';
        // A description that cannot be loaded leaves its cell empty.
        if (line.descriptionId != 0 &&
            LoadStringA(GetModuleHandleA(nullptr), line.descriptionId, description, sizeof description) > 0)
            list.SetItemText(row, 1, description);
    }
    list.Focus();
    // The focus was placed here: the system must not move it to the first control.
    return FALSE;
}
