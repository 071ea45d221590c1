#include "tools/theme_kit/theme_ini_encoding.h"
#include <windows.h>

const wchar_t* EncodingName(IniEncoding encoding)
{
    // In the order of IniEncoding.
    static const wchar_t* const NAMES[] = {
        L"8-bit text", L"UTF-8 with a byte-order mark", L"UTF-16 little-endian with a byte-order mark",
        L"UTF-16 big-endian with a byte-order mark", L"UTF-16 little-endian without a byte-order mark",
        L"UTF-16 big-endian without a byte-order mark", L"not text"};
    return NAMES[static_cast<int>(encoding)];
}

namespace {

// Text of ASCII letters in UTF-16 has a zero in every other byte.
bool LooksLikeUtf16(const std::vector<unsigned char>& bytes, size_t zeroAt)
{
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return false;
    size_t zeros = 0, strayZeros = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0)
            ++(i % 2 == zeroAt ? zeros : strayZeros);
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

}  // namespace

IniEncoding DetectIniEncoding(const std::vector<unsigned char>& bytes)
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

std::wstring DecodeIniText(const std::vector<unsigned char>& bytes, IniEncoding encoding)
{
    const bool bigEndian = encoding == IniEncoding::Utf16BeBom || encoding == IniEncoding::Utf16BeNoBom;
    const bool utf16Mark = encoding == IniEncoding::Utf16LeBom || encoding == IniEncoding::Utf16BeBom;
    const size_t mark = encoding == IniEncoding::Utf8Bom ? 3 : utf16Mark ? 2 : 0;
    std::wstring text;
    if (encoding == IniEncoding::EightBit || encoding == IniEncoding::Utf8Bom) {
        // The INI reader takes a file without a mark as ANSI text.
        const UINT codePage = mark ? CP_UTF8 : CP_ACP;
        const char* first = reinterpret_cast<const char*>(bytes.data()) + mark;
        const int length = static_cast<int>(bytes.size() - mark);
        // With no room given, the call only measures: an empty text writes nothing.
        text.resize(MultiByteToWideChar(codePage, 0, first, length, NULL, 0));
        MultiByteToWideChar(codePage, 0, first, length, &text[0], static_cast<int>(text.size()));
        return text;
    }
    for (size_t at = mark; at + 1 < bytes.size(); at += 2)
        text += static_cast<wchar_t>(bigEndian ? (bytes[at] << 8) | bytes[at + 1] : bytes[at] | (bytes[at + 1] << 8));
    return text;
}
