#include "tools/theme_kit/checks.h"
#include <errno.h>
#include <wchar.h>
#include <wctype.h>
#include <algorithm>
#include <optional>
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/theme_ini_encoding.h"
#include "render/theme_files.h"

namespace {

constexpr const wchar_t* SUBJECT = THEME_INI_FILE;
constexpr wchar_t SAVE_AS_ASCII[] = L"Save it as plain ASCII text";
constexpr wchar_t SECTION[] = L"image";
// A theme.ini holds a handful of lines.
constexpr size_t THEME_INI_FILE_LIMIT = 1u << 20;

// A value the INI reader reads otherwise than one who reads the file expects.
struct OddNumber {
    bool lost;  // the reader keeps nothing of the written value: an error
    const wchar_t *wrong, *readsBefore, *readsAfter, *change;
};
constexpr OddNumber NOT_A_NUMBER = {true, L"is not a number", L"The INI reader reads ", L"",
                                    L"Write a whole number of pixels"};
constexpr OddNumber OUT_OF_RANGE = {true, L"is beyond the 32-bit range", L"The INI reader reads ", L"",
                                    L"Write a number of pixels"};
constexpr OddNumber TRAILING_TEXT = {false, L"has text after the number", L"The INI reader reads ",
                                     L" and ignores the rest", L"Write the number alone"};  // "16px"
constexpr OddNumber HEXADECIMAL = {false, L"is hexadecimal", L"The INI reader reads it as ",
                                   L", which few who read the file expect", L"Write it in decimal"};  // "0x20"

// How a value is oddly written, told by the C library's reading of it; null
// for decimal digits with an optional sign.
const OddNumber* OddForm(const std::wstring& text)
{
    const bool negative = !text.empty() && text[0] == L'-';
    const wchar_t* digits = text.c_str() + (negative || (!text.empty() && text[0] == L'+'));
    const bool hex = digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X');
    const wchar_t* first = hex ? digits + 2 : digits;
    if (!(hex ? iswxdigit(*first) : iswdigit(*first)))
        return &NOT_A_NUMBER;
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long magnitude = wcstoull(first, &end, hex ? 16 : 10);
    if (errno == ERANGE || magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return &OUT_OF_RANGE;
    if (*end != L'\0')
        return &TRAILING_TEXT;
    return hex ? &HEXADECIMAL : nullptr;
}

// The same call and default as the plug-in's theme loading.
int ReaderValue(const std::wstring& path, const wchar_t* key)
{
    return static_cast<int>(GetPrivateProfileIntW(SECTION, key, 0, path.c_str()));
}

// As the INI reader gives it, spaces and quotes trimmed; none when absent.
std::optional<std::wstring> WrittenText(const std::wstring& path, const wchar_t* key)
{
    constexpr wchar_t ABSENT[] = L"\x01";
    const std::wstring text = IniValue(path, SECTION, key, ABSENT);
    return text == ABSENT ? std::nullopt : std::optional<std::wstring>(text);
}

// The author's text as UTF-16 with a byte-order mark, which the INI reader
// reads as written whatever the file's own encoding. Where no copy can be
// written, the file itself stands in.
std::wstring WrittenCopy(const TempFolder& folder, const std::wstring& text, const std::wstring& file)
{
    const std::wstring marked = L"\xFEFF" + text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(marked.data());
    const std::wstring copy = folder / THEME_INI_FILE;
    return folder.made() && WriteBytes(copy, {bytes, bytes + marked.size() * sizeof(wchar_t)}) ? copy : file;
}

struct Key {
    const wchar_t* name;
    int read;        // what the INI reader gives for the file
    bool isSize;     // width or height: 0 means no cover
    std::optional<std::wstring> written;
    int writtenRead;  // what it gives for the author's text
};

// The reader and the author's text disagree: the encoding is one the reader does not read.
bool CheckReaderAgrees(IniEncoding encoding, const Key (&keys)[4], const ImageRect& slot, Report& report)
{
    for (const Key& key : keys) {
        if (!key.written || key.writtenRead == key.read)
            continue;
        report.Error(SUBJECT,
                     std::wstring(L"saved as ") + EncodingName(encoding) +
                         L", which the INI reader does not read as written: " + key.name + L" reads as " +
                         std::to_wstring(key.read) + L" where the file says " + *key.written,
                     L"The cover slot becomes " + RectText(slot), SAVE_AS_ASCII);
        return false;
    }
    return true;
}

void CheckEncoding(IniEncoding encoding, const std::wstring& text, const std::vector<std::wstring>& sections,
                   Report& report)
{
    const size_t first = text.find_first_not_of(L" \t\r\n");
    const bool imageFirst = first != std::wstring::npos && text[first] == L'[' && !sections.empty() &&
                            lstrcmpiW(sections[0].c_str(), SECTION) == 0;
    if (encoding == IniEncoding::Utf8Bom && imageFirst)
        report.Warning(SUBJECT, L"starts with a UTF-8 byte-order mark right before \"[image]\"",
                       L"This INI reader skips the mark, but Windows reads such a file as ANSI text and takes the "
                       L"mark for part of the first line, so it finds no [image] section and shows no cover",
                       L"Save it without the mark (plain ASCII text)");
    if (encoding == IniEncoding::Utf16BeBom)
        report.Warning(SUBJECT, L"saved as UTF-16 big-endian",
                       L"This INI reader reads it, but Windows documents Unicode INI files as little-endian only",
                       SAVE_AS_ASCII);
}

void CheckKey(const Key& key, Report& report)
{
    const std::wstring name = key.name;
    if (!key.written) {
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
    if (const OddNumber* odd = OddForm(*key.written)) {
        const std::wstring wrong = name + L" = " + Quote(*key.written) + L" " + odd->wrong;
        const std::wstring reads = odd->readsBefore + std::to_wstring(key.read) + odd->readsAfter;
        if (odd->lost) {
            report.Error(SUBJECT, wrong, reads, odd->change);
            return;
        }
        report.Warning(SUBJECT, wrong, reads, odd->change);
    }
    if (key.isSize && key.read == 0)
        report.Error(SUBJECT, name + L" is 0", L"No cover shows", L"Give the cover slot's " + name + L" in pixels");
    else if (key.isSize && key.read < 0)
        report.Error(SUBJECT, name + L" is negative (" + std::to_wstring(key.read) + L")",
                     L"The cover is drawn flipped, out of its place or not at all",
                     L"Give the cover slot's " + name + L" as a positive number of pixels");
}

}  // namespace

std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key, const wchar_t* absent)
{
    wchar_t text[1024] = L"";
    GetPrivateProfileStringW(section, key, absent, text, 1024, path.c_str());
    return text;
}

std::vector<std::wstring> IniNames(const std::wstring& path, const wchar_t* section)
{
    std::vector<wchar_t> list(32768, L'\0');
    const DWORD size = static_cast<DWORD>(list.size());
    if (section)
        GetPrivateProfileSectionW(section, list.data(), size, path.c_str());
    else
        GetPrivateProfileSectionNamesW(list.data(), size, path.c_str());
    std::vector<std::wstring> names;
    for (const wchar_t* entry = list.data(); *entry; entry += lstrlenW(entry) + 1)
        names.push_back(std::wstring(entry, section ? wcscspn(entry, L"=") : wcslen(entry)));
    return names;
}

SlotReading CheckThemeIni(const std::wstring& folder, Report& report)
{
    SlotReading reading;
    const std::wstring path = folder + L"\\" + THEME_INI_FILE;
    std::vector<unsigned char> bytes;
    const ReadOutcome outcome = ReadFileBytes(path, THEME_INI_FILE_LIMIT, &bytes);
    if (outcome == ReadOutcome::Missing)
        report.Error(SUBJECT, L"missing",
                     L"The menu does not list this folder; named in the settings all the same, it gets the cover "
                     L"slot (0, 0, 0, 0) and shows no cover",
                     L"Add a theme.ini with an [image] section giving x, y, width and height");
    else if (outcome == ReadOutcome::TooLarge)
        report.Error(SUBJECT, L"larger than 1 MB", L"The INI reader reads all of it whenever the theme loads",
                     L"Keep only the [image] section with its four keys");
    else if (outcome == ReadOutcome::Unreadable)
        report.Error(SUBJECT, L"cannot be read (a folder, or a file locked by another program)",
                     L"The menu lists the folder, but every value reads as 0 and no cover shows",
                     L"Make theme.ini a plain text file");
    if (outcome != ReadOutcome::Read)
        return reading;
    reading.read = true;
    ImageRect& slot = reading.slot;
    slot = {ReaderValue(path, L"x"), ReaderValue(path, L"y"), ReaderValue(path, L"width"), ReaderValue(path, L"height")};

    const IniEncoding encoding = DetectIniEncoding(bytes);
    if (encoding == IniEncoding::Binary) {
        report.Error(SUBJECT, L"not text (it holds control bytes)",
                     L"The cover slot reads as " + RectText(slot),
                     L"Write it anew as plain ASCII text: [image], then x=, y=, width= and height=");
        return reading;
    }
    const std::wstring text = DecodeIniText(bytes, encoding);
    const TempFolder temporary(L"coverdeck-ini-");
    const std::wstring copy = WrittenCopy(temporary, text, path);
    const auto key = [&copy](const wchar_t* name, int read, bool isSize) {
        return Key{name, read, isSize, WrittenText(copy, name), ReaderValue(copy, name)};
    };
    const Key keys[] = {key(L"x", slot.x, false), key(L"y", slot.y, false), key(L"width", slot.width, true),
                        key(L"height", slot.height, true)};
    if (!CheckReaderAgrees(encoding, keys, slot, report))
        return reading;
    const std::vector<std::wstring> sections = IniNames(copy);
    CheckEncoding(encoding, text, sections, report);
    if (std::none_of(sections.begin(), sections.end(),
                     [](const std::wstring& section) { return lstrcmpiW(section.c_str(), SECTION) == 0; })) {
        report.Error(SUBJECT, L"no [image] section", L"x, y, width and height read as 0, so no cover shows",
                     L"Put the line [image] above the four keys");
        return reading;
    }
    for (const Key& key : keys)
        CheckKey(key, report);
    return reading;
}
