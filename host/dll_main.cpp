#include <windows.h>
#include "state/display_state.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        displayState.module = module;
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
