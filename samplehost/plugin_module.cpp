#include "plugin_module.h"
#include "output.h"
#include "state/owners.h"

namespace {

// Where an address lies relative to the module's mapped image.
const char* Placement(HMODULE module, const void* address)
{
    if (!address)
        return "null";
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const BYTE* at = static_cast<const BYTE*>(address);
    return (at >= base && at < base + nt->OptionalHeader.SizeOfImage) ? "in-module" : "outside";
}

}  // namespace

bool LoadPlugin(const wchar_t* path, PluginModule* plugin)
{
    UniqueModule owned(LoadLibraryW(path));
    HMODULE module = owned.get();
    if (!module) {
        ReportError("error: cannot load plug-in %s (error %lu)", Utf8Of(path).c_str(), GetLastError());
        return false;
    }
    GetGPluginInfoFn getInfo = reinterpret_cast<GetGPluginInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetGPluginInfo")));
    if (!getInfo) {
        ReportError("error: plug-in %s has no GetGPluginInfo export", Utf8Of(path).c_str());
        return false;
    }
    const PluginInfo* info = getInfo();
    if (!info) {
        ReportError("error: GetGPluginInfo returned null");
        return false;
    }
    Report("record %d %s %s", static_cast<int>(info->reserved),
           Placement(module, reinterpret_cast<const void*>(info->messageHook)),
           Placement(module, reinterpret_cast<const void*>(info->eventCallback)));
    Report("info-stable %d", getInfo() == info ? 1 : 0);
    if (!info->messageHook || !info->eventCallback) {
        ReportError("error: the plug-in record lacks a callback");
        return false;
    }
    plugin->module = owned.release();
    plugin->hook = info->messageHook;
    plugin->callback = info->eventCallback;
    return true;
}

void UnloadPlugin(PluginModule* plugin)
{
    // The host window's procedure must stop calling the hook before its code goes.
    UniqueModule module(plugin->module);
    *plugin = PluginModule();
}
