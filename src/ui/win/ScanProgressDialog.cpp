#include "ui/win/ScanProgressDialog.h"

#include "resources/resource.h"

bool ScanProgressDialog::Show(TWindow* owner)
{
    char caption[255] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_CAPTION_CONNECT, caption, sizeof caption);
    return dialog.Open(owner, caption, kDelaySeconds);
}
