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
