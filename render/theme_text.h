#pragma once
#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>
#include "state/display_state.h"

// A theme's lines of now-playing text: the sections "text", "text2" and
// "text3" of theme.ini, each one line in a box of background pixels.
constexpr const wchar_t* THEME_TEXT_SECTIONS[] = {L"text", L"text2", L"text3"};
// Every key a text section may hold, for the theme kit's check.
constexpr const wchar_t* THEME_TEXT_KEYS[] = {L"x",    L"y",    L"width", L"height", L"format", L"font",
                                              L"size", L"bold", L"color", L"shadow", L"align"};
constexpr int DEFAULT_TEXT_SIZE = 12;
constexpr uint32_t DEFAULT_TEXT_COLOR = 0xFFFFFFFFu;

enum class TextAlign { LEFT, CENTER, RIGHT };

struct TextLineStyle {
    std::wstring section;
    ImageRect box;        // in the theme's own pixels
    std::wstring format;  // "%title%", "%artist%", "%album%" replaced
    std::wstring font;    // empty: the system's message font
    int size;             // font height in pixels at 96 DPI
    bool bold;
    uint32_t color;       // 0xAARRGGBB
    bool shadow;
    uint32_t shadowColor;
    TextAlign align;
};

// The text sections of the theme.ini at `path`, as written: a section
// without a positive width and height is left out, as is one whose size is
// below 1; an unreadable colour or alignment takes its default.
std::vector<TextLineStyle> ReadThemeTextLines(const wchar_t* path);
// "RRGGBB" or "AARRGGBB" in hexadecimal, a leading "#" allowed.
bool ParseThemeColor(const std::wstring& text, uint32_t* argb);
// The line's text for the track.
std::wstring ExpandTextFormat(const std::wstring& format, const NowPlaying& track);
