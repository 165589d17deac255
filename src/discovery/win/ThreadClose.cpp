#include "discovery/win/ThreadClose.h"

#include "core/StoppableWork.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "discovery/ScanProgress.h"
#include "discovery/win/ThreadEnumPorts.h"
#include "resources/resource.h"

void Thread_Close::Attach(Thread_EnumPorts* scanThread, PortList* list, PortListObserver* listObserver,
                          ScanProgress* dialog)
{
    scan = scanThread;
    ports = list;
    observer = listObserver;
    progress = dialog;
}

void Thread_Close::Prepare()
{
    ClearStopRequest();
    done = false;
}

void Thread_Close::Run()
{
    if (scan != nullptr)
        scan->StopForClosing();
    for (StoppableWork* work : works)
        work->StopAndWait();
    if (ports != nullptr && observer != nullptr) {
        if (progress != nullptr) {
            SendMessageA(owner, QVM_SHOW_PROGRESS, reinterpret_cast<WPARAM>(progress), 0);
            progress->SetRange(0, ports->Count());
            progress->SetText(GString("Закрытие портов..."));
            progress->Step();
        }
        CloseAllPorts(*ports, *observer);
        if (progress != nullptr)
            progress->Close();
    }
    done = true;
    PostMessageA(owner, WM_CLOSE, 0, 0);
}
