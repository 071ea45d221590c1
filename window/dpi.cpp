#include "window/dpi.h"
#include <initializer_list>
#include "state/owners.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);

// A user32 function of a later Windows, or null.
template <typename Function>
Function User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

DPI_AWARENESS_CONTEXT RequestPerMonitorAwareness(SetThreadDpiAwarenessContextFn set)
{
    if (!set)
        return NULL;
    for (DPI_AWARENESS_CONTEXT wanted :
         {DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE}) {
        // The call answers with the context it replaced; null is a refusal.
        if (set(wanted))
            return wanted;
    }
    return NULL;
}

void RequestPerMonitorAwarenessForThisThread()
{
    RequestPerMonitorAwareness(User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext"));
}

int WindowDpi(HWND window)
{
    if (GetDpiForWindowFn forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow")) {
        if (UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    ScopedGetDC screen(NULL);
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}
