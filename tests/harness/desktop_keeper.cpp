// desktop_keeper.exe: started by wine-start and ended with the wineserver.
// Wine closes a desktop about a second after the last program using it ends,
// and the next program with a window then waits for a new desktop process
// (about 10 s, 20 s on a busy machine; under qemu-i386 more): a run of test
// programs, one after another, paid that at every program. One invisible
// message-only window keeps the desktop open for the whole run.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
