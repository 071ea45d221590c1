#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "helpers/files.h"         // TempFolder, ReadBytes, WriteBytes, WriteText, MakeFolder
#include "helpers/message_pump.h"  // PumpFor, PumpUntil
#include "helpers/text.h"          // Utf8Of
#include "state/owners.h"

// Ends the whole test program with exit code 3 and a line on stderr when it is
// still alive `timeoutMs` after construction: a hang then fails quickly and
// says where, instead of blocking the run.
class Watchdog {
public:
    Watchdog(const char* what, DWORD timeoutMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    const char* what;
    DWORD timeoutMs;
    UniqueHandle done;
    UniqueHandle thread;
};

// A Unix path, UTF-8 (Wine maps drive Z: to /), as a Windows path.
std::wstring WindowsPathOf(const char* unixPath);
// Build outputs: the plug-in, the sample host and the stand-in audio library.
std::wstring BinDir();
// The source tree (bundled themes, resources).
std::wstring SourceDir();

// The in-process plug-in keeps its settings beside the test program; each
// case that opens the display window starts and ends without that file.
std::wstring TestSettingsPath();
void RemoveTestSettingsFile();

// Puts DisplayState back as the module has it right after loading (with this
// program as the module): options zero, no theme, holders and slots empty.
void ResetDisplayState();
