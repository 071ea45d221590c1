#include "window/settings_path.h"
#include <shlwapi.h>
#include "state/display_state.h"

namespace {

constexpr wchar_t SETTINGS_EXTENSION[] = L".ini";

}  // namespace

bool SettingsPathOf(const wchar_t* modulePath, wchar_t (&out)[MAX_PATH])
{
    out[0] = L'\0';
    if (lstrlenW(modulePath) >= MAX_PATH)
        return false;
    wchar_t path[MAX_PATH];
    lstrcpynW(path, modulePath, MAX_PATH);
    // Wine's PathRenameExtensionW refuses a name without an extension, where
    // Windows appends one; PathAddExtensionW covers that case on both.
    bool renamed = PathRenameExtensionW(path, SETTINGS_EXTENSION) ||
                   (*PathFindExtensionW(path) == L'\0' && PathAddExtensionW(path, SETTINGS_EXTENSION));
    // A module that is itself called *.ini must never be written over.
    if (!renamed || lstrcmpiW(path, modulePath) == 0)
        return false;
    lstrcpynW(out, path, MAX_PATH);
    return true;
}

bool SettingsPath(wchar_t (&out)[MAX_PATH])
{
    wchar_t modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameW(displayState.module, modulePath, MAX_PATH);
    // A result of MAX_PATH means the name was cut (and, on XP, not terminated).
    if (length == 0 || length >= MAX_PATH) {
        out[0] = L'\0';
        return false;
    }
    return SettingsPathOf(modulePath, out);
}
