// The About box (IDD_ABOUT, run modally by the main window): the program icon and name on a
// gold banner, the version line made from the version resource of qv.exe, and the web-site
// and support e-mail links.
#pragma once

#include "core/GString.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"

class About : public TDialog {
public:
    static constexpr COLORREF kBannerColour = RGB(255, 215, 0);

    About();
    ~About() override;

    // The file whose version resource gives the version line; qv.exe beside the running
    // program unless set.
    void SetVersionFile(const char* path) { versionFile.Assign(path); }

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    void OnDialogDestroy() override;

    StaticControl banner;
    StaticControl icon;
    StaticControl name;
    StaticControl version;
    StaticControl site;
    StaticControl mail;
    Button ok;

private:
    void ShowVersion();

    GString versionFile;
    HICON iconHandle = nullptr;
};

// The file version of a module file: major and minor are the high and low words of its most
// significant version word. False when the file has no version resource.
bool ReadFileVersion(const char* path, uint32_t& major, uint32_t& minor);
