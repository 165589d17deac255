#include "ui/win/StatusWindow.h"

#include <commctrl.h>

#include <cstdarg>

#include "resources/resource.h"
#include "ui/StatusTexts.h"

namespace {
void SetParts(HWND bar, const StatusPartEdges& edges)
{
    int right[3] = {edges.right[0], edges.right[1], edges.right[2]};
    SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(right));
}
}  // namespace

bool StatusWindow::Create(TWindow* mainWindow)
{
    if (mainWindow == nullptr || mainWindow->Handle() == nullptr || handle != nullptr)
        return false;
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | SBARS_SIZEGRIP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                               mainWindow->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                               GetModuleHandleA(nullptr), nullptr);
    if (bar == nullptr)
        return false;
    if (!BindControl(bar, SubclassRule::NotHandledPassesOn)) {
        DestroyWindow(bar);
        return false;
    }
    // The control places itself along its parent's bottom edge as it is created: a bar that
    // already has its width never gets a size message for it.
    RECT client{};
    GetClientRect(bar, &client);
    SetParts(bar, client.right > 0 ? StatusEdgesForWidth(client.right) : InitialStatusEdges());
    TooltipOnDemand();
    return true;
}

const GString& StatusWindow::PartText(int part) const
{
    static const GString empty;
    return part >= 0 && part < 3 ? texts[part] : empty;
}

void StatusWindow::ShowPart(int part)
{
    if (handle != nullptr)
        SendMessageA(handle, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(texts[part].CStr()));
}

void StatusWindow::SetMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatStatusMessage(texts[0], format, args);
    va_end(args);
    ShowPart(0);
}

void StatusWindow::SetSize(uint64_t bytes, bool hide)
{
    FormatStatusSize(texts[1], bytes, hide);
    ShowPart(1);
}

void StatusWindow::SetMemory(uint32_t freeBytes, uint32_t totalBytes, bool hide)
{
    FormatStatusMemory(texts[2], memoryLong, freeBytes, totalBytes, hide);
    ShowPart(2);
}

void StatusWindow::Clear()
{
    for (int part = 0; part < 3; ++part) {
        texts[part] = GString();
        ShowPart(part);
    }
    memoryLong = GString();
}

LRESULT StatusWindow::OnSize(int width, int, UINT)
{
    // The control sizes itself to its parent and then reports its real width.
    if (width > 0)
        SetParts(handle, StatusEdgesForWidth(width));
    return kNotHandled;
}

int StatusWindow::PartUnderPointer() const
{
    POINT p{};
    if (handle == nullptr || !GetCursorPos(&p) || !ScreenToClient(handle, &p))
        return -1;
    for (int part = 0; part < 3; ++part) {
        RECT r{};
        if (SendMessageA(handle, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r)) &&
            PtInRect(&r, p))
            return part;
    }
    return -1;
}

LRESULT StatusWindow::OnMouseMove(int, int, UINT)
{
    // One tool covers the bar: moving to another part asks for the text again.
    const int part = PartUnderPointer();
    if (part != pointerPart) {
        pointerPart = part;
        if (tooltip != nullptr)
            SendMessageA(tooltip, TTM_POP, 0, 0);
    }
    return kNotHandled;
}

LRESULT StatusWindow::OnNotify(int, NMHDR* header)
{
    if (header == nullptr || header->hwndFrom != tooltip ||
        (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW))
        return kNotHandled;
    const int part = PartUnderPointer();
    tipText = part == 2 ? memoryLong : PartText(part);
    if (tipText.IsEmpty())
        return 0;
    if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(tipText.CStr());
    } else {
        const int length = MultiByteToWideChar(CP_ACP, 0, tipText.CStr(), -1, nullptr, 0);
        tipTextWide.assign(static_cast<size_t>(length > 0 ? length : 1), L'\0');
        MultiByteToWideChar(CP_ACP, 0, tipText.CStr(), -1, tipTextWide.data(), length);
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = tipTextWide.data();
    }
    return 0;
}
