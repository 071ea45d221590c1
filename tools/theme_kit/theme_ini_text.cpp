#include "tools/theme_kit/theme_ini_text.h"
#include <wctype.h>

const wchar_t* EncodingName(IniEncoding encoding)
{
    switch (encoding) {
    case IniEncoding::EightBit: return L"8-bit text";
    case IniEncoding::Utf8Bom: return L"UTF-8 with a byte-order mark";
    case IniEncoding::Utf16LeBom: return L"UTF-16 little-endian with a byte-order mark";
    case IniEncoding::Utf16BeBom: return L"UTF-16 big-endian with a byte-order mark";
    case IniEncoding::Utf16LeNoBom: return L"UTF-16 little-endian without a byte-order mark";
    case IniEncoding::Utf16BeNoBom: return L"UTF-16 big-endian without a byte-order mark";
    case IniEncoding::Binary: return L"not text";
    }
    return L"";
}

namespace {

// Text of ASCII letters in UTF-16 has a zero in every other byte.
bool LooksLikeUtf16(const std::vector<unsigned char>& bytes, size_t zeroAt)
{
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return false;
    size_t zeros = 0, strayZeros = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != 0)
            continue;
        if (i % 2 == zeroAt)
            ++zeros;
        else
            ++strayZeros;
    }
    return zeros * 4 >= bytes.size() && strayZeros == 0;
}

bool HasControlBytes(const std::vector<unsigned char>& bytes, size_t from)
{
    for (size_t i = from; i < bytes.size(); ++i) {
        const unsigned char c = bytes[i];
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != 0x1A)
            return true;
    }
    return false;
}

IniEncoding DetectEncoding(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return HasControlBytes(bytes, 3) ? IniEncoding::Binary : IniEncoding::Utf8Bom;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return IniEncoding::Utf16LeBom;
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return IniEncoding::Utf16BeBom;
    if (LooksLikeUtf16(bytes, 1))
        return IniEncoding::Utf16LeNoBom;
    if (LooksLikeUtf16(bytes, 0))
        return IniEncoding::Utf16BeNoBom;
    return HasControlBytes(bytes, 0) ? IniEncoding::Binary : IniEncoding::EightBit;
}

std::wstring Decode(const std::vector<unsigned char>& bytes, IniEncoding encoding)
{
    std::wstring text;
    const bool utf16 = encoding == IniEncoding::Utf16LeBom || encoding == IniEncoding::Utf16BeBom ||
                       encoding == IniEncoding::Utf16LeNoBom || encoding == IniEncoding::Utf16BeNoBom;
    const bool bigEndian = encoding == IniEncoding::Utf16BeBom || encoding == IniEncoding::Utf16BeNoBom;
    size_t at = encoding == IniEncoding::Utf8Bom ? 3
              : (encoding == IniEncoding::Utf16LeBom || encoding == IniEncoding::Utf16BeBom) ? 2 : 0;
    // Only ASCII matters here (section, keys, numbers); other characters pass
    // through as whatever code unit they give.
    for (; utf16 ? at + 1 < bytes.size() : at < bytes.size(); at += utf16 ? 2 : 1) {
        if (utf16)
            text += static_cast<wchar_t>(bigEndian ? (bytes[at] << 8) | bytes[at + 1] : bytes[at] | (bytes[at + 1] << 8));
        else
            text += static_cast<wchar_t>(bytes[at]);
    }
    return text;
}

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0, last = text.size();
    while (first < last && iswspace(text[first]))
        ++first;
    while (last > first && iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool SameIgnoringCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (towlower(a[i]) != towlower(b[i]))
            return false;
    return i == a.size() && b[i] == L'\0';
}

void Keep(IniValue* slot, const std::wstring& value)
{
    // The INI reader takes the first of repeated keys.
    if (slot->present)
        return;
    slot->present = true;
    slot->text = value;
    if (slot->text.size() >= 2 && (slot->text.front() == L'"' || slot->text.front() == L'\'') &&
        slot->text.back() == slot->text.front())
        slot->text = slot->text.substr(1, slot->text.size() - 2);
}

}  // namespace

ThemeIniText ReadThemeIniText(const std::vector<unsigned char>& bytes)
{
    ThemeIniText ini;
    ini.encoding = DetectEncoding(bytes);
    if (ini.encoding == IniEncoding::Binary)
        return ini;
    const std::wstring text = Decode(bytes, ini.encoding);
    bool inImage = false, seenImage = false, firstLine = true;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line.front() == L'[') {
            const size_t close = line.find(L']');
            const std::wstring name = Trimmed(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            // Only the first [image] section counts, as with the INI reader.
            inImage = SameIgnoringCase(name, L"image") && !seenImage;
            if (inImage) {
                seenImage = true;
                ini.imageSectionFirst = firstLine;
            }
            firstLine = false;
            continue;
        }
        firstLine = false;
        const size_t equals = line.find(L'=');
        if (!inImage || equals == std::wstring::npos || line.front() == L';')
            continue;
        const std::wstring key = Trimmed(line.substr(0, equals));
        const std::wstring value = Trimmed(line.substr(equals + 1));
        if (SameIgnoringCase(key, L"x"))
            Keep(&ini.x, value);
        else if (SameIgnoringCase(key, L"y"))
            Keep(&ini.y, value);
        else if (SameIgnoringCase(key, L"width"))
            Keep(&ini.width, value);
        else if (SameIgnoringCase(key, L"height"))
            Keep(&ini.height, value);
    }
    ini.imageSection = seenImage;
    return ini;
}

NumberForm ClassifyNumber(const std::wstring& text, long long* value)
{
    *value = 0;
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        negative = text[at++] == L'-';
    const bool hex = at + 1 < text.size() && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X');
    if (hex)
        at += 2;
    const unsigned base = hex ? 16 : 10;
    const size_t digitsStart = at;
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; at < text.size(); ++at) {
        const wchar_t c = text[at];
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (hex && c >= L'a' && c <= L'f')
            digit = 10 + (c - L'a');
        else if (hex && c >= L'A' && c <= L'F')
            digit = 10 + (c - L'A');
        else
            break;
        if (!overflow)
            magnitude = magnitude * base + digit;
        overflow = overflow || magnitude > 0x80000000ull;
    }
    if (at == digitsStart)
        return NumberForm::NotANumber;
    if (overflow || magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return NumberForm::OutOfRange;
    *value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (at != text.size())
        return NumberForm::TrailingText;
    return hex ? NumberForm::Hexadecimal : NumberForm::Decimal;
}
