#include "tools/theme_kit/check_theme_ini.h"
#include <windows.h>
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/limits.h"
#include "tools/theme_kit/theme_ini_text.h"

namespace {

constexpr wchar_t SUBJECT[] = L"theme.ini";
constexpr wchar_t SAVE_AS_ASCII[] = L"Save it as plain ASCII text";

struct Key {
    const wchar_t* name;
    const IniValue* written;
    int read;      // what the INI reader gives
    bool isSize;   // width or height: 0 means no cover
};

// The same call and default as the plug-in's theme loading.
int ReaderValue(const std::wstring& path, const wchar_t* key)
{
    return static_cast<int>(GetPrivateProfileIntW(L"image", key, 0, path.c_str()));
}

// The reader and the text disagree: the encoding is one the reader does not read.
bool CheckReaderAgrees(const ThemeIniText& text, const Key (&keys)[4], const ImageRect& slot, Report& report)
{
    for (const Key& key : keys) {
        long long written = 0;
        if (!key.written->present)
            continue;
        const NumberForm form = ClassifyNumber(key.written->text, &written);
        if (form == NumberForm::NotANumber || form == NumberForm::OutOfRange || written == key.read)
            continue;
        report.Error(SUBJECT,
                     std::wstring(L"saved as ") + EncodingName(text.encoding) +
                         L", which the INI reader does not read as written: " + key.name + L" reads as " +
                         std::to_wstring(key.read) + L" where the file says " + key.written->text,
                     L"The cover slot becomes " + RectText(slot.x, slot.y, slot.width, slot.height), SAVE_AS_ASCII);
        return false;
    }
    return true;
}

void CheckEncoding(const ThemeIniText& text, Report& report)
{
    if (text.encoding == IniEncoding::Utf8Bom && text.imageSectionFirst)
        report.Warning(SUBJECT, L"starts with a UTF-8 byte-order mark right before \"[image]\"",
                       L"This INI reader skips the mark, but Windows reads such a file as ANSI text and takes the "
                       L"mark for part of the first line, so it finds no [image] section and shows no cover",
                       L"Save it without the mark (plain ASCII text)");
    if (text.encoding == IniEncoding::Utf16BeBom)
        report.Warning(SUBJECT, L"saved as UTF-16 big-endian",
                       L"This INI reader reads it, but Windows documents Unicode INI files as little-endian only",
                       SAVE_AS_ASCII);
}

void CheckKey(const Key& key, Report& report)
{
    const std::wstring name = key.name;
    if (!key.written->present) {
        if (key.isSize)
            report.Error(SUBJECT, L"no \"" + name + L"\" in [image]", L"It reads as 0, so no cover shows",
                         L"Add " + name + L"= with the cover slot's " + name + L" in pixels");
        else
            report.Warning(SUBJECT, L"no \"" + name + L"\" in [image]",
                           L"It reads as 0: the cover slot starts at the window's " +
                               std::wstring(name == L"x" ? L"left" : L"top") + L" edge",
                           L"Write " + name + L"=0 if that is meant");
        return;
    }
    const std::wstring written = name + L" = " + Quote(key.written->text);
    long long value = 0;
    switch (ClassifyNumber(key.written->text, &value)) {
    case NumberForm::NotANumber:
        report.Error(SUBJECT, written + L" is not a number", L"The INI reader reads " + std::to_wstring(key.read),
                     L"Write a whole number of pixels");
        return;
    case NumberForm::OutOfRange:
        report.Error(SUBJECT, written + L" is beyond the 32-bit range",
                     L"The INI reader reads " + std::to_wstring(key.read), L"Write a number of pixels");
        return;
    case NumberForm::TrailingText:
        report.Warning(SUBJECT, written + L" has text after the number",
                       L"The INI reader reads " + std::to_wstring(key.read) + L" and ignores the rest",
                       L"Write the number alone");
        break;
    case NumberForm::Hexadecimal:
        report.Warning(SUBJECT, written + L" is hexadecimal",
                       L"The INI reader reads it as " + std::to_wstring(key.read) + L", which few who read the file expect",
                       L"Write it in decimal");
        break;
    case NumberForm::Decimal:
        break;
    }
    if (key.isSize && key.read == 0)
        report.Error(SUBJECT, name + L" is 0", L"No cover shows", L"Give the cover slot's " + name + L" in pixels");
    else if (key.isSize && key.read < 0)
        report.Error(SUBJECT, name + L" is negative (" + std::to_wstring(key.read) + L")",
                     L"The cover is drawn flipped, out of its place or not at all",
                     L"Give the cover slot's " + name + L" as a positive number of pixels");
}

}  // namespace

SlotReading CheckThemeIni(const std::wstring& folder, Report& report)
{
    SlotReading reading;
    const std::wstring path = folder + L"\\theme.ini";
    std::vector<unsigned char> bytes;
    switch (ReadFileBytes(path, THEME_INI_FILE_LIMIT, &bytes)) {
    case ReadOutcome::Missing:
        report.Error(SUBJECT, L"missing",
                     L"The menu does not list this folder; named in the settings all the same, it gets the cover "
                     L"slot (0, 0, 0, 0) and shows no cover",
                     L"Add a theme.ini with an [image] section giving x, y, width and height");
        return reading;
    case ReadOutcome::TooLarge:
        report.Error(SUBJECT, L"larger than 1 MB", L"The INI reader reads all of it whenever the theme loads",
                     L"Keep only the [image] section with its four keys");
        return reading;
    case ReadOutcome::Unreadable:
        report.Error(SUBJECT, L"cannot be read (a folder, or a file locked by another program)",
                     L"The menu lists the folder, but every value reads as 0 and no cover shows",
                     L"Make theme.ini a plain text file");
        return reading;
    case ReadOutcome::Read:
        break;
    }
    reading.read = true;
    ImageRect& slot = reading.slot;
    slot = {ReaderValue(path, L"x"), ReaderValue(path, L"y"), ReaderValue(path, L"width"), ReaderValue(path, L"height")};

    const ThemeIniText text = ReadThemeIniText(bytes);
    if (text.encoding == IniEncoding::Binary) {
        report.Error(SUBJECT, L"not text (it holds control bytes)",
                     L"The cover slot reads as " + RectText(slot.x, slot.y, slot.width, slot.height),
                     L"Write it anew as plain ASCII text: [image], then x=, y=, width= and height=");
        return reading;
    }
    const Key keys[] = {
        {L"x", &text.x, slot.x, false},
        {L"y", &text.y, slot.y, false},
        {L"width", &text.width, slot.width, true},
        {L"height", &text.height, slot.height, true},
    };
    if (!CheckReaderAgrees(text, keys, slot, report))
        return reading;
    CheckEncoding(text, report);
    if (!text.imageSection) {
        report.Error(SUBJECT, L"no [image] section", L"x, y, width and height read as 0, so no cover shows",
                     L"Put the line [image] above the four keys");
        return reading;
    }
    for (const Key& key : keys)
        CheckKey(key, report);
    return reading;
}
