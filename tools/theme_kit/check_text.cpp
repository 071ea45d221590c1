#include "tools/theme_kit/checks.h"
#include <algorithm>
#include "render/text_layer.h"
#include "render/theme_files.h"
#include "render/theme_text.h"

namespace {

bool IsTextKey(const std::wstring& key)
{
    return std::any_of(std::begin(THEME_TEXT_KEYS), std::end(THEME_TEXT_KEYS),
                       [&key](const wchar_t* known) { return lstrcmpiW(key.c_str(), known) == 0; });
}

void CheckLine(const std::wstring& path, const wchar_t* section, SIZE background, Report& report)
{
    const std::wstring subject = std::wstring(THEME_INI_FILE) + L" [" + section + L"]";
    for (const std::wstring& key : IniNames(path, section))
        if (!IsTextKey(key))
            report.Warning(subject, L"\"" + key + L"\" is no key of a text line", L"The plug-in ignores it",
                           L"Use x, y, width, height, format, font, size, bold, color, shadow and align");
    const auto number = [&](const wchar_t* key, int fallback) {
        return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path.c_str()));
    };
    const ImageRect box = {number(L"x", 0), number(L"y", 0), number(L"width", 0), number(L"height", 0)};
    const std::wstring where = RectText(box);
    if (box.width <= 0 || box.height <= 0)
        report.Warning(subject, L"the box " + where + L" has no width or height", L"The line draws nothing",
                       L"Give width and height in background pixels");
    else if (!WhollyInside(box, background))
        report.Warning(subject,
                       L"the box " + where + L" reaches outside the " + SizeText(background.cx, background.cy) +
                           L" background",
                       L"The text is cut off at the window's edge", L"Keep the box inside the background");
    if (number(L"size", DEFAULT_TEXT_SIZE) < 1)
        report.Error(subject, L"size " + std::to_wstring(number(L"size", DEFAULT_TEXT_SIZE)) + L" is below 1",
                     L"The line draws nothing", L"Give the font's height in pixels");
    for (const wchar_t* key : {L"color", L"shadow"}) {
        uint32_t color;
        const std::wstring written = IniValue(path, section, key);
        if (!written.empty() && !ParseThemeColor(written, &color))
            report.Warning(subject, std::wstring(key) + L" = " + Quote(written) + L" is no colour",
                           key == std::wstring(L"color") ? L"The text is drawn white" : L"The text has no shadow",
                           L"Write RRGGBB or AARRGGBB in hexadecimal");
    }
    const std::wstring font = IniValue(path, section, L"font");
    if (!font.empty() && !IsTextFaceInstalled(font))
        report.Warning(subject, L"the font " + Quote(font) + L" is not installed here",
                       L"Where it is missing the plug-in draws the line in the system's message font",
                       L"Name a font every listener has, or leave font out");
}

}  // namespace

void CheckThemeText(const std::wstring& path, SIZE background, Report& report)
{
    for (const wchar_t* section : THEME_TEXT_SECTIONS)
        if (!IniNames(path, section).empty())
            CheckLine(path, section, background, report);
}
