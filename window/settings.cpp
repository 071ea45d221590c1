#include "window/settings.h"
#include <shlwapi.h>
#include <string.h>
#include "state/display_state.h"
#include "state/owners.h"
#include "window/options.h"
#include "window/settings_encoding.h"
#include "window/settings_path.h"
#include "window/zorder.h"

namespace {

constexpr wchar_t WINDOW_SECTION[] = L"window";
constexpr wchar_t SETTING_SECTION[] = L"setting";

// An empty path stands for a settings file that cannot be located: every key
// then reads as missing.
int ReadInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int fallback)
{
    if (path[0] == L'\0')
        return fallback;
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path));
}

void ReadText(const wchar_t* path, const wchar_t* section, const wchar_t* key, wchar_t (&out)[MAX_PATH])
{
    out[0] = L'\0';
    if (path[0] != L'\0')
        GetPrivateProfileStringW(section, key, L"", out, MAX_PATH, path);
}

void WriteInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int value)
{
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    WritePrivateProfileStringW(section, key, text, path);
}

// What the profile functions strip from either end of a value as it is read
// (Wine: these, and not U+00A0 or U+3000), besides one pair of matching quotes.
constexpr wchar_t TRIMMED_AROUND_VALUES[] = L" \t\n\v\f\r\x1a";

bool IsTrimmed(wchar_t character) { return character && wcschr(TRIMMED_AROUND_VALUES, character); }
bool IsQuote(wchar_t character) { return character == L'"' || character == L'\''; }

// A value the reading would alter goes into the file inside double quotes,
// which the reading then removes; every other value is written as it is, so
// files and readers of the plain form see no change. The quotes go only where
// needed: a lone quote or a mismatched pair reads back as written.
bool NeedsQuotes(const wchar_t* text)
{
    size_t length = wcslen(text);
    if (length == 0)
        return false;
    wchar_t first = text[0], last = text[length - 1];
    return IsTrimmed(first) || IsTrimmed(last) || (length >= 2 && IsQuote(first) && last == first);
}

void WriteText(const wchar_t* path, const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    wchar_t quoted[MAX_PATH + 2];
    if (NeedsQuotes(text)) {
        wsprintfW(quoted, L"\"%s\"", text);
        text = quoted;
    }
    WritePrivateProfileStringW(section, key, text, path);
}

// The profile functions keep characters outside the ANSI code page only in a
// file that already is UTF-16, so a new settings file starts as an empty
// UTF-16LE file with its byte-order mark.
void CreateUnicodeFileIfMissing(const wchar_t* path)
{
    if (PathFileExistsW(path))
        return;
    UniqueHandle file(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return;
    static const BYTE byteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.get(), byteOrderMark, sizeof(byteOrderMark), &written, NULL);
}

}  // namespace

void LoadSettings(HWND window)
{
    wchar_t path[MAX_PATH];
    SettingsPath(path);

    int left = ReadInt(path, WINDOW_SECTION, L"left", 0);
    int top = ReadInt(path, WINDOW_SECTION, L"top", 0);
    // Moved before the options are read: the move still snaps and pins with
    // the values in force before this load.
    SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);

    displayState.position = ReadInt(path, SETTING_SECTION, L"position", ZORDER_NORMAL);
    for (const Option& option : OPTIONS)
        displayState.*option.field = ReadInt(path, SETTING_SECTION, option.key, option.fallback);
    ReadText(path, SETTING_SECTION, L"theme", displayState.theme);
    displayState.debug = ReadInt(path, SETTING_SECTION, L"debug", 0);
}

void SaveSettings(HWND window)
{
    wchar_t path[MAX_PATH];
    if (!SettingsPath(path))
        return;
    RECT rect = {};
    GetWindowRect(window, &rect);
    CreateUnicodeFileIfMissing(path);
    // An 8-bit file that could not become UTF-16 would take "?" for every
    // character it cannot hold: it then keeps the name it has.
    bool themeFits = PrepareFileFor(path, displayState.theme);

    WriteInt(path, WINDOW_SECTION, L"left", rect.left);
    WriteInt(path, WINDOW_SECTION, L"top", rect.top);
    WriteInt(path, SETTING_SECTION, L"position", displayState.position);
    for (const Option& option : OPTIONS)
        WriteInt(path, SETTING_SECTION, option.key, displayState.*option.field);
    if (themeFits)
        WriteText(path, SETTING_SECTION, L"theme", displayState.theme);
}
