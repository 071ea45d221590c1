#include "tools/theme_kit/kit_files.h"
#include <windows.h>
#include "render/theme_files.h"
#include "tools/theme_kit/report.h"

bool FolderArgument(const std::wstring& path, const wchar_t* kind, std::wstring* full)
{
    *full = FullPathOf(path);
    if (!full->empty() && IsFolder(*full))
        return true;
    PrintErrorLine(Quote(path) + (IsFile(*full) ? L": a file, not a " + std::wstring(kind) : L": no such folder"));
    return false;
}

ReadableThemeFolder::ReadableThemeFolder(const std::wstring& folder) : readable(folder)
{
    if (folder.size() + 1 + NameLength(THEME_LONGEST_FILE) < MAX_PATH)
        return;
    auto temporary = std::make_unique<TempFolder>(L"coverdeck-theme-");
    if (!temporary->made())
        return;
    copy = std::move(temporary);
    readable = *copy / L"theme";
    CreateDirectoryW(readable.c_str(), NULL);
    for (const std::wstring& name : FolderEntries(folder))
        for (const wchar_t* file : THEME_FILES)
            if (lstrcmpiW(name.c_str(), file) == 0)
                CopyFileW(LongForm(folder + L"\\" + name).c_str(), (readable + L"\\" + name).c_str(), FALSE);
}
