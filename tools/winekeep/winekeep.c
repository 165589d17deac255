/* Keeps one Wine process alive for a test session, so that every later Wine start finds
   the wineserver and the desktop process running. Ends when its stop event is set. */
#include <windows.h>

int main(void)
{
    HANDLE stop = CreateEventA(NULL, TRUE, FALSE, "qv_winekeep_stop");
    if (stop == NULL)
        return 1;
    WaitForSingleObject(stop, INFINITE);
    CloseHandle(stop);
    return 0;
}
