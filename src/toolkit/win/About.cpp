#include "toolkit/win/About.h"

#include <shellapi.h>

#include <initializer_list>
#include <vector>

#include "resources/resource.h"
#include "toolkit/VersionText.h"

namespace {

GString ProgramFolderFile(const char* fileName)
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    GString result;
    if (length == 0 || length >= MAX_PATH)
        return GString(fileName);
    while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/')
        --length;
    result.Assign(path, length);
    result.Append(fileName);
    return result;
}

// A link static as wide as its text, so that the hand cursor and the click stay on the text.
void FitToText(StaticControl& link)
{
    HWND hwnd = link.Handle();
    RECT rect{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &rect))
        return;
    GString text = link.GetText();
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, link.GetFont());
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.CStr(), static_cast<int>(text.Length()), &extent);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    const int width = extent.cx + 2;
    if (width < rect.right - rect.left)
        SetWindowPos(hwnd, nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool ReadFileVersion(const char* path, uint32_t& major, uint32_t& minor)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || info == nullptr ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    return true;
}

About::About() : versionFile(ProgramFolderFile("qv.exe")) {}

About::~About() { DestroyNativeWindow(); }

INT_PTR About::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    ok.Bind(hwnd, IDOK);
    ok.SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, 0);

    banner.Bind(hwnd, IDC_ABOUT_BANNER);
    icon.Bind(hwnd, IDC_ABOUT_ICON);
    name.Bind(hwnd, IDC_ABOUT_NAME);
    version.Bind(hwnd, IDC_ABOUT_VERSION);
    for (StaticControl* onBanner : {&banner, &icon, &name, &version})
        onBanner->SetBackgroundColour(kBannerColour);

    iconHandle = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, 0));
    icon.SetIcon(iconHandle);

    name.SetFontByFace("Arial", 130, 0, TWindow::kBold, true);
    version.SetFontByFace("Arial", 90, 0, TWindow::kBold, true);
    ShowVersion();

    site.Bind(hwnd, IDC_ABOUT_SITE);
    mail.Bind(hwnd, IDC_ABOUT_MAIL);
    for (StaticControl* link : {&site, &mail}) {
        link->MakeLink();
        FitToText(*link);
    }
    return TRUE;
}

void About::ShowVersion()
{
    uint32_t major = 0;
    uint32_t minor = 0;
    if (!ReadFileVersion(versionFile.CStr(), major, minor))
        return;
    GString line;
    FormatVersionLine(line, version.GetText().CStr(), major, minor);
    version.SetLabel(line.CStr());
}

LRESULT About::OnCommand(int notifyCode, int id, HWND)
{
    if (notifyCode != STN_CLICKED)
        return kNotHandled;
    if (id == IDC_ABOUT_SITE) {
        ShellExecuteA(handle, "open", site.GetText().CStr(), nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    }
    if (id == IDC_ABOUT_MAIL) {
        GString address("mailto:");
        address.Append(mail.GetText());
        ShellExecuteA(handle, "open", address.CStr(), nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    }
    return kNotHandled;
}

void About::OnDialogDestroy()
{
    if (iconHandle != nullptr) {
        DestroyIcon(iconHandle);
        iconHandle = nullptr;
    }
}
