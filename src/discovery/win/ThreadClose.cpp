#include "discovery/win/ThreadClose.h"

void Thread_Close::Prepare()
{
    ClearStopRequest();
    done = false;
}

void Thread_Close::Run()
{
    done = true;
    PostMessageA(owner, WM_CLOSE, 0, 0);
}
