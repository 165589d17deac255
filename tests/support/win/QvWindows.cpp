#include "support/win/QvWindows.h"

#include <commctrl.h>

#include <cstring>

namespace {

struct ChildSearch {
    const char* className;
    int id;
    bool visibleOnly;
    HWND parent;  // direct children of it only, when set
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (search->parent != nullptr && GetParent(window) != search->parent)
        return TRUE;
    if (_stricmp(name, search->className) != 0)
        return TRUE;
    if (search->id != -1 && GetDlgCtrlID(window) != search->id)
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent, const char* className, int id, bool visibleOnly, bool directOnly)
{
    ChildSearch search{className, id, visibleOnly, directOnly ? parent : nullptr, {}};
    if (parent != nullptr)
        EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::string WindowTextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 20000, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 20000,
                        &copied);
    text.resize(copied);
    return text;
}

HWND FindChildWindow(HWND parent, const char* className, int id, bool visibleOnly)
{
    std::vector<HWND> found = Children(parent, className, id, visibleOnly, false);
    return found.empty() ? nullptr : found.front();
}

HWND FindDeviceList(HWND mainWindow)
{
    for (HWND panel : Children(mainWindow, "qv_DockWindow", -1, false, true)) {
        if (WindowTextOf(panel) == "Устройства")
            return panel;
    }
    return nullptr;
}

std::vector<HWND> DeviceButtons(HWND mainWindow)
{
    return Children(FindDeviceList(mainWindow), "Button", 1, false, true);
}

std::vector<std::string> DeviceNames(HWND mainWindow)
{
    std::vector<std::string> names;
    for (HWND button : DeviceButtons(mainWindow))
        names.push_back(WindowTextOf(button));
    return names;
}

HWND ShownInfoView(HWND mainWindow) { return FindChildWindow(mainWindow, "qv_Device_InfoView", -1, true); }

HWND ShownControlPanel(HWND mainWindow)
{
    for (HWND panel : Children(mainWindow, "qv_DockWindow", -1, true, true)) {
        if (FindChildWindow(panel, "Button", 250) != nullptr)
            return panel;
    }
    return nullptr;
}

bool IsShown(HWND window) { return window != nullptr && IsWindowVisible(window); }

RECT ChildRect(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<std::string> ListViewColumn(HWND list, int column)
{
    std::vector<std::string> texts;
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr)
        return texts;
    constexpr SIZE_T kTextBytes = 520;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextBytes, MEM_COMMIT, PAGE_READWRITE));
    if (remote != nullptr) {
        const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = static_cast<int>(kTextBytes);
            char text[kTextBytes] = {};
            if (!WriteProcessMemory(process, remote, &item, sizeof item, nullptr))
                break;
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kTextBytes - 1, nullptr);
            texts.push_back(text);
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return texts;
}
