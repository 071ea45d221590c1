#pragma once
#include <windows.h>
#include <string>
#include <vector>

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
std::vector<unsigned char> ReadBytes(const std::wstring& path);
bool MakeFolder(const std::wstring& path);

// Dispatches this thread's messages (timers included) for the given time.
void PumpMessagesFor(DWORD milliseconds);
// Pumps messages until `done` returns true or the time runs out.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        PumpMessagesFor(10);
    }
    return true;
}

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

// Script lines for the sample host are UTF-8.
std::string Utf8(const std::wstring& text);

// A Unix path of the build (Wine maps drive Z: to /) as a Windows path.
std::wstring WindowsPathOf(const char* unixPath);
// Build outputs: the plug-in, the sample host and the stand-in audio library.
std::wstring BinDir();
std::wstring SourceDir();
