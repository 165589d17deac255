// Program entry: application objects, the main window, the first port scan, the message loop,
// and the fixed tear-down order.
#include <windows.h>
#include <ole2.h>

#include "core/MessageReporter.h"
#include "core/win/Application.h"
#include "filemanager/win/FileManagerViewFactory.h"
#include "filemanager/win/ShellFormats.h"
#include "resources/resource.h"
#include "ui/win/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    auto* application = new Application();
    application->Init(instance, commandLine, showCommand);

    bool oleReady = SUCCEEDED(OleInitialize(nullptr));
    if (!oleReady)
        Reporter().Report(MessageKind::ResourceText, IDS_COM_INIT_FAILED);
    TheShellFormats();

    SetFileManagerFactory(CreateFileManagerView);
    MainWindow* mainWindow = MainWindow::Instance();
    int exitCode;
    if (mainWindow->Create()) {
        Reporter().SetDefaultOwner(mainWindow->Handle());
        ShowWindow(mainWindow->Handle(), showCommand);
        UpdateWindow(mainWindow->Handle());
        mainWindow->StartPortScan(nullptr);
        exitCode = application->Run();
    } else {
        // Without a window nothing could ever end the message loop.
        Reporter().Report(MessageKind::SystemError, 0);
        exitCode = 1;
    }

    MainWindow::Release();
    delete application;
    if (oleReady)
        OleUninitialize();
    return exitCode;
}
