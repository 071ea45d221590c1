#pragma once
#include <string>
#include <vector>

enum class IniEncoding {
    EightBit,        // ASCII or an ANSI code page, no byte-order mark
    Utf8Bom,
    Utf16LeBom,
    Utf16BeBom,
    Utf16LeNoBom,
    Utf16BeNoBom,
    Binary,          // control bytes that no text has
};

const wchar_t* EncodingName(IniEncoding encoding);

struct IniValue {
    bool present = false;
    std::wstring text;  // as written, spaces trimmed
};

// What the author wrote in theme.ini, read from its bytes independently of
// the platform's INI reader, so the two can be compared.
struct ThemeIniText {
    IniEncoding encoding = IniEncoding::EightBit;
    bool imageSection = false;
    bool imageSectionFirst = false;  // "[image]" is the file's first line
    IniValue x, y, width, height;
};

ThemeIniText ReadThemeIniText(const std::vector<unsigned char>& bytes);

enum class NumberForm {
    Decimal,       // an optional sign and digits, nothing else
    TrailingText,  // digits followed by something else: "16px"
    Hexadecimal,   // "0x20"
    NotANumber,
    OutOfRange,    // beyond 32 bits
};

// How a value is written, and the whole number it stands for (0 when it has none).
NumberForm ClassifyNumber(const std::wstring& text, long long* value);
