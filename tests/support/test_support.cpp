#include "support/test_support.h"
#include <stdio.h>
#include "render/prepared_cover.h"
#include "state/display_state.h"
#include "window/settings_path.h"

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter;
    wchar_t name[64];
    wsprintfW(name, L"coverdeck-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
    root = std::wstring(base) + name;
    RemoveTree(root);
    CreateDirectoryW(root.c_str(), NULL);
}

TempFolder::~TempFolder()
{
    RemoveTree(root);
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    return WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, NULL));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, NULL);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

bool MakeFolder(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

Watchdog::Watchdog(const char* what, DWORD timeoutMs)
    : what(what), timeoutMs(timeoutMs), done(CreateEventW(NULL, TRUE, FALSE, NULL)),
      thread(CreateThread(NULL, 0, Watch, this, 0, NULL))
{
}

Watchdog::~Watchdog()
{
    SetEvent(done);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(done);
}

DWORD WINAPI Watchdog::Watch(void* self)
{
    Watchdog* dog = static_cast<Watchdog*>(self);
    if (WaitForSingleObject(dog->done, dog->timeoutMs) == WAIT_TIMEOUT) {
        fprintf(stderr, "hung for %lu ms: %s\n", static_cast<unsigned long>(dog->timeoutMs), dog->what);
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

std::wstring WindowsPathOf(const char* unixPath)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, NULL, 0);
    std::wstring path(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, &path[0], length);
    for (wchar_t& c : path)
        c = (c == L'/') ? L'\\' : c;
    return L"Z:" + path;
}

std::wstring BinDir()
{
    return WindowsPathOf(COVERDECK_BIN_DIR);
}

std::wstring SourceDir()
{
    return WindowsPathOf(COVERDECK_SOURCE_DIR);
}

std::wstring TestSettingsPath()
{
    wchar_t program[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    SettingsPathOf(program, path);
    return path;
}

void RemoveTestSettingsFile()
{
    const std::wstring path = TestSettingsPath();
    // A case may leave it read-only.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

void ResetDisplayState()
{
    displayState.background.Release();
    displayState.overlay.Release();
    displayState.cover.Release();
    ReleasePreparedCover();
    displayState.module = GetModuleHandleW(NULL);
    displayState.uiThread = NULL;
    displayState.hostWindow = NULL;
    displayState.channel = 0;
    displayState.pluginDir[0] = L'\0';
    displayState.themesRoot[0] = L'\0';
    displayState.position = 0;
    displayState.aspectratio = 0;
    displayState.snap = 0;
    displayState.attachedpicture = 0;
    displayState.theme[0] = L'\0';
    displayState.debug = 0;
    displayState.coverFromTag = 0;
    displayState.imageRect = ImageRect{};
    displayState.AudioLibrary = AudioEntryPoints{};
}
