#pragma once
#include <windows.h>
#include "state/host_protocol.h"

// The loaded plug-in module and the callbacks its record names.
struct PluginModule {
    HMODULE module = NULL;
    HostMessageHook hook = nullptr;
    HostEventCallback callback = nullptr;
};

// Loads the module, reads its record and reports it ("record ..." and
// "info-stable ..."). On failure reports an error and leaves nothing loaded.
bool LoadPlugin(const wchar_t* path, PluginModule* plugin);
void UnloadPlugin(PluginModule* plugin);
