#include "tools/theme_kit/kit_files.h"
#include <windows.h>
#include "state/owners.h"
#include "render/theme_files.h"

ReadOutcome ReadFileBytes(const std::wstring& path, size_t limit, std::vector<unsigned char>* bytes)
{
    bytes->clear();
    if (!IsFile(path))
        return IsFolder(path) ? ReadOutcome::Unreadable : ReadOutcome::Missing;
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return ReadOutcome::Unreadable;
    ReadOutcome outcome = ReadOutcome::Read;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) {
        outcome = ReadOutcome::Unreadable;
    } else if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        outcome = ReadOutcome::TooLarge;
    } else {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes->empty() &&
            (!ReadFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &got, NULL) || got != bytes->size()))
            outcome = ReadOutcome::Unreadable;
    }
    if (outcome != ReadOutcome::Read)
        bytes->clear();
    return outcome;
}

namespace {

// Paths of any length, for the folders the plug-in itself could not open.
std::wstring LongForm(const std::wstring& fullPath)
{
    return L"\\\\?\\" + fullPath;
}

DWORD AttributesOf(const std::wstring& path)
{
    const bool longFullPath = path.size() >= MAX_PATH && path.size() > 2 && path[1] == L':';
    return GetFileAttributesW((longFullPath ? LongForm(path) : path).c_str());
}

}  // namespace

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPathOf(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, NULL, NULL);
    if (needed == 0)
        return std::wstring();
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], NULL);
    if (length == 0 || length >= needed)
        return std::wstring();
    full.resize(length);
    // "C:\" keeps its separator; "C:\themes\Blue\" loses it.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    return full;
}

std::wstring LastComponent(const std::wstring& fullPath)
{
    const size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? fullPath : fullPath.substr(slash + 1);
}

std::wstring ParentOf(const std::wstring& fullPath)
{
    const size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    return names;
}

namespace {

bool IsThemeFileName(const std::wstring& name)
{
    return lstrcmpiW(name.c_str(), THEME_INI_FILE) == 0 || lstrcmpiW(name.c_str(), THEME_BACKGROUND_FILE) == 0 ||
           lstrcmpiW(name.c_str(), THEME_OVERLAY_FILE) == 0;
}

}  // namespace

std::wstring UniqueTempPath(const wchar_t* prefix)
{
    static LONG counter;
    wchar_t temporary[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temporary);
    return std::wstring(temporary) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

ReadableThemeFolder::ReadableThemeFolder(const std::wstring& folder) : readable(folder)
{
    if (folder.size() + 1 + NameLength(THEME_LONGEST_FILE) < MAX_PATH)
        return;
    copy = UniqueTempPath(L"coverdeck-theme-");
    if (!CreateDirectoryW(copy.c_str(), NULL)) {
        copy.clear();
        return;
    }
    readable = copy + L"\\theme";
    CreateDirectoryW(readable.c_str(), NULL);
    for (const std::wstring& name : FolderEntries(LongForm(folder)))
        if (IsThemeFileName(name))
            CopyFileW(LongForm(folder + L"\\" + name).c_str(), (readable + L"\\" + name).c_str(), FALSE);
}

ReadableThemeFolder::~ReadableThemeFolder()
{
    if (copy.empty())
        return;
    for (const std::wstring& name : FolderEntries(readable)) {
        SetFileAttributesW((readable + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((readable + L"\\" + name).c_str());
    }
    RemoveDirectoryW(readable.c_str());
    RemoveDirectoryW(copy.c_str());
}
