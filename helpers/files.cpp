#include "helpers/files.h"
#include <windows.h>
#include <stdint.h>
#include "state/owners.h"

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

std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    ReadFileBytes(path, SIZE_MAX, &bytes);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    return ok && written == bytes.size();
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    return WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// Paths of any length, for the folders the plug-in itself could not open.
std::wstring LongForm(const std::wstring& path)
{
    const bool longFullPath = path.size() >= MAX_PATH && path.size() > 2 && path[1] == L':';
    return longFullPath ? L"\\\\?\\" + path : path;
}

namespace {

DWORD AttributesOf(const std::wstring& path)
{
    return GetFileAttributesW(LongForm(path).c_str());
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

bool MakeFolder(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void RemoveTree(const std::wstring& path)
{
    for (const std::wstring& name : FolderEntries(path)) {
        const std::wstring child = path + L"\\" + name;
        if (IsFolder(child)) {
            RemoveTree(child);
        } else {
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(child.c_str());
        }
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const UniqueFind find(FindFirstFileW(LongForm(folder + L"\\*").c_str(), &entry));
    if (!find)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    return names;
}

std::wstring UniqueTempPath(const wchar_t* prefix)
{
    static LONG counter;
    wchar_t temporary[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temporary);
    return std::wstring(temporary) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

TempFolder::TempFolder(const wchar_t* prefix) : root(UniqueTempPath(prefix))
{
    RemoveTree(root);
    madeIt = CreateDirectoryW(root.c_str(), NULL) != FALSE;
}

TempFolder::~TempFolder()
{
    RemoveTree(root);
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
