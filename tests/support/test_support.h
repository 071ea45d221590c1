#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "samplehost/message_pump.h"    // PumpFor, PumpUntil
#include "samplehost/output.h"          // Utf8Of
#include "tools/theme_kit/kit_files.h"  // FolderEntries

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return root; }
    std::wstring operator/(const std::wstring& name) const { return root + L"\\" + name; }

private:
    std::wstring root;
};

void RemoveTree(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool WriteText(const std::wstring& path, const std::string& text);
// Reads `path` whole; empty when it cannot be read.
std::vector<unsigned char> ReadBytes(const std::wstring& path);
bool MakeFolder(const std::wstring& path);

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
    HANDLE done;
    HANDLE thread;
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
