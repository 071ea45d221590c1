#pragma once
#include <stddef.h>
#include <string>
#include <vector>

enum class ReadOutcome { Read, Missing, TooLarge, Unreadable };

// Reads a whole file of at most `limit` bytes.
ReadOutcome ReadFileBytes(const std::wstring& path, size_t limit, std::vector<unsigned char>* bytes);
bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);
// The absolute form of `path` without trailing separators; empty on failure.
std::wstring FullPathOf(const std::wstring& path);
// The last component of a full path, and everything before it.
std::wstring LastComponent(const std::wstring& fullPath);
std::wstring ParentOf(const std::wstring& fullPath);
// The names of the entries of a folder (files and folders, "." and ".." left
// out), in the order the file system gives them.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// A path in the temporary folder that no other call, here or in another
// process, gives: `prefix`, the process id and a count.
std::wstring UniqueTempPath(const wchar_t* prefix);

// The folder to read a theme from: the folder itself, or, when its files'
// paths would pass 259 characters, a copy of its three files (under their own
// names) in a short temporary folder, removed when the object goes.
class ReadableThemeFolder {
public:
    explicit ReadableThemeFolder(const std::wstring& folder);
    ~ReadableThemeFolder();
    ReadableThemeFolder(const ReadableThemeFolder&) = delete;
    ReadableThemeFolder& operator=(const ReadableThemeFolder&) = delete;
    const std::wstring& path() const { return readable; }
    bool copied() const { return !copy.empty(); }

private:
    std::wstring readable;
    std::wstring copy;
};
