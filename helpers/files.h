#pragma once
#include <stddef.h>
#include <string>
#include <vector>

enum class ReadOutcome { Read, Missing, TooLarge, Unreadable };

// Reads a whole file of at most `limit` bytes.
ReadOutcome ReadFileBytes(const std::wstring& path, size_t limit, std::vector<unsigned char>* bytes);
// Reads `path` whole; empty when it cannot be read.
std::vector<unsigned char> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool WriteText(const std::wstring& path, const std::string& text);

// The absolute form of `path` without trailing separators; empty on failure.
std::wstring FullPathOf(const std::wstring& path);
// The last component of a full path, and everything before it.
std::wstring LastComponent(const std::wstring& fullPath);
std::wstring ParentOf(const std::wstring& fullPath);
// `path` in the \\?\ form when it is a full path too long for the plain one.
std::wstring LongForm(const std::wstring& path);
bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);
bool MakeFolder(const std::wstring& path);
// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::wstring& path);
// The names of the entries of a folder (files and folders, "." and ".." left
// out), in the order the file system gives them.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// A path in the temporary folder that no other call, here or in another
// process, gives: `prefix`, the process id and a count.
std::wstring UniqueTempPath(const wchar_t* prefix);

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    explicit TempFolder(const wchar_t* prefix = L"coverdeck-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    bool made() const { return madeIt; }
    const std::wstring& path() const { return root; }
    std::wstring operator/(const std::wstring& name) const { return root + L"\\" + name; }

private:
    std::wstring root;
    bool madeIt;
};
