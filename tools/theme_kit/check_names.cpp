#include "tools/theme_kit/checks.h"
#include "tools/theme_kit/kit_files.h"
#include "render/theme_files.h"

namespace {

constexpr int LONGEST_PATH = MAX_PATH - 1;
// Where a listener's plug-ins typically live; the theme folders go below it.
constexpr wchar_t TYPICAL_PLUGIN_FOLDER[] = L"C:\\Program Files (x86)\\Quaver\\Plugins";
// Each part with the separator before it: "\coverdeckTheme\", "\background.png"
// and "\theme.ini", which the menu looks for.
constexpr int THEMES_FOLDER_PART = NameLength(THEMES_FOLDER_NAME) + 2;
constexpr int BACKGROUND_PART = NameLength(THEME_LONGEST_FILE) + 1;
constexpr int MENU_PART = NameLength(THEME_INI_FILE) + 1;

}  // namespace

int LongestPluginFolder(const std::wstring& themeName)
{
    return LONGEST_PATH - THEMES_FOLDER_PART - static_cast<int>(themeName.size()) - BACKGROUND_PART;
}

void CheckFolderName(const std::wstring& themeName, Report& report)
{
    const int typical = lstrlenW(TYPICAL_PLUGIN_FOLDER);
    const int longest = LongestPluginFolder(themeName);
    if (longest < typical) {
        const bool listed = LONGEST_PATH - THEMES_FOLDER_PART - static_cast<int>(themeName.size()) - MENU_PART >= typical;
        report.Error(L"folder name",
                     Quote(themeName) + L" is " + std::to_wstring(themeName.size()) +
                         L" characters long: below a plug-in folder such as " + Quote(TYPICAL_PLUGIN_FOLDER) + L" (" +
                         std::to_wstring(typical) + L" characters) the path of its background.png passes the " +
                         std::to_wstring(LONGEST_PATH) + L" characters Windows allows",
                     listed ? L"The menu lists it, but choosing it gives the built-in theme"
                            : L"The menu does not list it, and the plug-in cannot open its files",
                     L"Shorten the name to at most " + std::to_wstring(themeName.size() - (typical - longest)) +
                         L" characters");
    }
    if (themeName.find(L'&') != std::wstring::npos) {
        // "&x" shows as an underlined x, "&&" as one "&", a last "&" not at all.
        std::wstring shown;
        for (size_t i = 0; i < themeName.size(); ++i)
            if (themeName[i] != L'&' || ++i < themeName.size())
                shown += themeName[i];
        report.Warning(L"folder name", Quote(themeName) + L" holds \"&\", which marks a keyboard shortcut in a menu",
                       L"The menu shows it as " + Quote(shown) + L" with the letter after \"&\" underlined; choosing it still works",
                       L"Leave \"&\" out of the name, or write \"&&\" where one \"&\" should show");
    }
}

void CheckFileNameCase(const std::wstring& folder, Report& report)
{
    const std::vector<std::wstring> entries = FolderEntries(folder);
    for (const wchar_t* fixed : THEME_FILES) {
        bool exact = false;
        std::wstring differing;
        for (const std::wstring& entry : entries) {
            if (lstrcmpW(entry.c_str(), fixed) == 0)
                exact = true;
            else if (lstrcmpiW(entry.c_str(), fixed) == 0)
                differing = entry;
        }
        if (!exact && !differing.empty())
            report.Warning(Quote(differing), L"differs from " + Quote(fixed) + L" only in case",
                           L"Windows finds it all the same, but a case-sensitive folder or a copy unpacked on Linux does not",
                           L"Rename it to " + Quote(fixed));
    }
}
