#include "tools/theme_kit/check_theme_ini.h"
#include <windows.h>
#include <errno.h>
#include <wchar.h>
#include <wctype.h>
#include "state/owners.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/limits.h"
#include "tools/theme_kit/theme_ini_encoding.h"
#include "render/theme_files.h"

namespace {

constexpr const wchar_t* SUBJECT = THEME_INI_FILE;
constexpr wchar_t SAVE_AS_ASCII[] = L"Save it as plain ASCII text";
constexpr wchar_t SECTION[] = L"image";

enum class NumberForm {
    Decimal,       // an optional sign and digits, nothing else
    TrailingText,  // digits followed by something else: "16px"
    Hexadecimal,   // "0x20"
    NotANumber,
    OutOfRange,    // beyond 32 bits
};

// How a value is written, told by the C library's reading of it.
NumberForm ClassifyNumber(const std::wstring& text)
{
    const bool negative = !text.empty() && text[0] == L'-';
    const wchar_t* digits = text.c_str() + (negative || (!text.empty() && text[0] == L'+'));
    const bool hex = digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X');
    const wchar_t* first = hex ? digits + 2 : digits;
    if (!(hex ? iswxdigit(*first) : iswdigit(*first)))
        return NumberForm::NotANumber;
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long magnitude = wcstoull(first, &end, hex ? 16 : 10);
    if (end == first)
        return NumberForm::NotANumber;
    if (errno == ERANGE || magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return NumberForm::OutOfRange;
    if (*end != L'\0')
        return NumberForm::TrailingText;
    return hex ? NumberForm::Hexadecimal : NumberForm::Decimal;
}

// The same call and default as the plug-in's theme loading.
int ReaderValue(const std::wstring& path, const wchar_t* key)
{
    return static_cast<int>(GetPrivateProfileIntW(SECTION, key, 0, path.c_str()));
}

struct Written {
    bool present = false;
    std::wstring text;  // as the INI reader gives it: spaces and quotes trimmed
};

Written WrittenText(const std::wstring& path, const wchar_t* key)
{
    constexpr wchar_t ABSENT[] = L"\x01";
    wchar_t text[1024] = L"";
    GetPrivateProfileStringW(SECTION, key, ABSENT, text, 1024, path.c_str());
    return lstrcmpW(text, ABSENT) == 0 ? Written() : Written{true, text};
}

std::vector<std::wstring> SectionNames(const std::wstring& path)
{
    std::vector<wchar_t> names(4096, L'\0');
    GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    std::vector<std::wstring> found;
    for (const wchar_t* name = names.data(); *name; name += lstrlenW(name) + 1)
        found.push_back(name);
    return found;
}

// The author's text as UTF-16 with a byte-order mark, which the INI reader
// reads as written whatever the file's own encoding; removed when the object
// goes. Where no copy can be written, the file itself stands in.
class WrittenCopy {
public:
    WrittenCopy(const std::wstring& text, const std::wstring& file) : copy(UniqueTempPath(L"coverdeck-ini-") + L".ini")
    {
        const UniqueHandle out(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, NULL));
        const std::wstring marked = L"\xFEFF" + text;
        const DWORD size = static_cast<DWORD>(marked.size() * sizeof(wchar_t));
        DWORD written = 0;
        if (!out || !WriteFile(out.get(), marked.data(), size, &written, NULL) || written != size)
            readable = file;
    }
    ~WrittenCopy() { DeleteFileW(copy.c_str()); }
    WrittenCopy(const WrittenCopy&) = delete;
    WrittenCopy& operator=(const WrittenCopy&) = delete;
    const std::wstring& path() const { return readable.empty() ? copy : readable; }

private:
    const std::wstring copy;
    std::wstring readable;
};

struct Key {
    const wchar_t* name;
    int read;        // what the INI reader gives for the file
    bool isSize;     // width or height: 0 means no cover
    Written written;
    int writtenRead;  // what it gives for the author's text
};

// The reader and the author's text disagree: the encoding is one the reader does not read.
bool CheckReaderAgrees(IniEncoding encoding, const Key (&keys)[4], const ImageRect& slot, Report& report)
{
    for (const Key& key : keys) {
        if (!key.written.present || key.writtenRead == key.read)
            continue;
        report.Error(SUBJECT,
                     std::wstring(L"saved as ") + EncodingName(encoding) +
                         L", which the INI reader does not read as written: " + key.name + L" reads as " +
                         std::to_wstring(key.read) + L" where the file says " + key.written.text,
                     L"The cover slot becomes " + RectText(slot.x, slot.y, slot.width, slot.height), SAVE_AS_ASCII);
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
    if (!key.written.present) {
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
    const std::wstring written = name + L" = " + Quote(key.written.text);
    switch (ClassifyNumber(key.written.text)) {
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
    const std::wstring path = folder + L"\\" + THEME_INI_FILE;
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

    const IniEncoding encoding = DetectIniEncoding(bytes);
    if (encoding == IniEncoding::Binary) {
        report.Error(SUBJECT, L"not text (it holds control bytes)",
                     L"The cover slot reads as " + RectText(slot.x, slot.y, slot.width, slot.height),
                     L"Write it anew as plain ASCII text: [image], then x=, y=, width= and height=");
        return reading;
    }
    const std::wstring text = DecodeIniText(bytes, encoding);
    const WrittenCopy copy(text, path);
    const auto key = [&copy](const wchar_t* name, int read, bool isSize) {
        return Key{name, read, isSize, WrittenText(copy.path(), name), ReaderValue(copy.path(), name)};
    };
    const Key keys[] = {key(L"x", slot.x, false), key(L"y", slot.y, false), key(L"width", slot.width, true),
                        key(L"height", slot.height, true)};
    if (!CheckReaderAgrees(encoding, keys, slot, report))
        return reading;
    const std::vector<std::wstring> sections = SectionNames(copy.path());
    CheckEncoding(encoding, text, sections, report);
    bool imageSection = false;
    for (const std::wstring& section : sections)
        imageSection = imageSection || lstrcmpiW(section.c_str(), SECTION) == 0;
    if (!imageSection) {
        report.Error(SUBJECT, L"no [image] section", L"x, y, width and height read as 0, so no cover shows",
                     L"Put the line [image] above the four keys");
        return reading;
    }
    for (const Key& key : keys)
        CheckKey(key, report);
    return reading;
}
