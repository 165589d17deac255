#include "ui/win/MainWindow.h"

#include <uxtheme.h>

#include "core/win/AppCore.h"
#include "resources/resource.h"

namespace {
MainWindow* instance = nullptr;
}

MainWindow* MainWindow::Instance()
{
    if (instance == nullptr)
        instance = new MainWindow();
    return instance;
}

void MainWindow::Release()
{
    delete instance;
    instance = nullptr;
}

MainWindow::MainWindow()
{
    RegisterWindowClass(IDI_PROGRAM, nullptr, nullptr, kClassName, CS_OWNDC);
    themesActive = IsThemeActive() != FALSE;
    AppCore* core = AppCore::Instance();
    core->SetCurrentDirectoryFromProcess();
    core->LoadSettings();
    char buffer[255] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCT_NAME, buffer, sizeof buffer) > 0)
        title.Assign(buffer);
}

MainWindow::~MainWindow()
{
    closeThread.Wait(ThreadObject::kInfinite);
    if (handle != nullptr && IsWindow(handle))
        DestroyWindow(handle);
    // Still here when the window never came up: the settings are saved all the same.
    if (AppCore::Existing() != nullptr)
        AppCore::Destroy();
}

bool MainWindow::Create()
{
    CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, title.CStr(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    const SettingsValues& values = AppCore::Instance()->Values();
    if (values.windowWidth != 0)
        MoveWindow(handle, values.windowX, values.windowY, values.windowWidth, values.windowHeight, FALSE);
    return true;
}

void MainWindow::StartPortScan(HWND)
{
}

LRESULT MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return TWindow::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::OnCommand(int, int id, HWND)
{
    if (id == 120) {
        SendMessageA(handle, WM_CLOSE, 0, 0);
        return 0;
    }
    return kNotHandled;
}

LRESULT MainWindow::OnInitMenuPopup(HWND, HMENU, UINT, BOOL) { return 0; }

LRESULT MainWindow::OnEraseBackground(HDC dc)
{
    // The area that no panel or view covers.
    RECT client{};
    GetClientRect(handle, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    return 1;
}

LRESULT MainWindow::OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

LRESULT MainWindow::OnClose()
{
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (!closeThread.Done()) {
        // First phase: the ports are closed on a worker, which posts WM_CLOSE when it is done.
        // A close request while it runs is refused without starting it again.
        closeThread.SetOwner(handle);
        closeThread.Start();
        return 0;
    }
    RECT rect{};
    if (GetWindowRect(handle, &rect)) {
        SettingsValues& values = AppCore::Instance()->Values();
        values.windowX = rect.left;
        values.windowY = rect.top;
        values.windowWidth = rect.right - rect.left;
        values.windowHeight = rect.bottom - rect.top;
    }
    AppCore::Destroy();
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    return kNotHandled;
}
