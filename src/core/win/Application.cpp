#include "core/win/Application.h"

namespace {
Application* instance = nullptr;
}

Application::Application()
{
    instance = this;
    shellLibrary = LoadLibraryA("shell32.dll");
    if (shellLibrary == nullptr)
        return;
    shellImageListsProc = reinterpret_cast<ShellGetImageListsProc>(
        reinterpret_cast<void*>(GetProcAddress(shellLibrary, MAKEINTRESOURCEA(71))));
    auto fileIconInit = reinterpret_cast<FileIconInitProc>(
        reinterpret_cast<void*>(GetProcAddress(shellLibrary, MAKEINTRESOURCEA(660))));
    // Some systems only stub this out (it answers FALSE); the icons are then drawn without it.
    if (fileIconInit != nullptr)
        fileIconInit(TRUE);
    if (shellImageListsProc == nullptr) {
        FreeLibrary(shellLibrary);
        shellLibrary = nullptr;
    }
}

Application::~Application()
{
    if (shellLibrary != nullptr)
        FreeLibrary(shellLibrary);
    if (instance == this)
        instance = nullptr;
}

Application* Application::Instance() { return instance; }

void Application::Init(HINSTANCE, LPSTR commandLineArg, int showCommandArg)
{
    commandLine = commandLineArg;
    showCommand = showCommandArg;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
}

bool Application::GetSystemImageLists(HIMAGELIST* large, HIMAGELIST* small) const
{
    if (large == nullptr || small == nullptr)
        return false;
    if (shellImageListsProc != nullptr)
        shellImageListsProc(large, small);
    return true;
}

int Application::Run()
{
    // The program defines no accelerator table; the lookup stays so one can be added.
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), "QVAccel");
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (accelerators == nullptr || !TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
