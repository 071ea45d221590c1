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
// How theme.ini was saved, told from its bytes: the one thing the INI reader
// does not say.
IniEncoding DetectIniEncoding(const std::vector<unsigned char>& bytes);
// The text the author wrote, byte-order mark left out.
std::wstring DecodeIniText(const std::vector<unsigned char>& bytes, IniEncoding encoding);
