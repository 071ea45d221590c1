#pragma once
#include <windows.h>

// The host thread must keep dispatching whenever it waits: the plug-in's UI
// thread queries the host window synchronously and would otherwise block.
void PumpFor(DWORD milliseconds);

// Pumps until `done()` holds or the time runs out; returns whether it held.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        PumpFor(10);
    }
    return true;
}
