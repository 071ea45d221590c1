#pragma once
#include <memory>
#include <string>
#include "helpers/files.h"

// The full path of a folder named on the command line (`kind` says what it
// should be: "theme folder"); false, with the reason printed, when it is none.
bool FolderArgument(const std::wstring& path, const wchar_t* kind, std::wstring* full);

// The folder to read a theme from: the folder itself, or, when its files'
// paths would pass 259 characters, a copy of its three files (under their own
// names) in a short temporary folder, removed when the object goes.
class ReadableThemeFolder {
public:
    explicit ReadableThemeFolder(const std::wstring& folder);
    const std::wstring& path() const { return readable; }
    bool copied() const { return copy != nullptr; }

private:
    std::wstring readable;
    std::unique_ptr<TempFolder> copy;
};
