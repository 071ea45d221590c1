#include "render/theme_text.h"
#include <wchar.h>

namespace {

std::wstring IniText(const wchar_t* path, const wchar_t* section, const wchar_t* key, const wchar_t* fallback)
{
    wchar_t text[1024];
    GetPrivateProfileStringW(section, key, fallback, text, 1024, path);
    return text;
}

int IniNumber(const wchar_t* path, const wchar_t* section, const wchar_t* key, int fallback)
{
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path));
}

TextAlign AlignNamed(const std::wstring& name)
{
    if (_wcsicmp(name.c_str(), L"center") == 0)
        return TextAlign::CENTER;
    return _wcsicmp(name.c_str(), L"right") == 0 ? TextAlign::RIGHT : TextAlign::LEFT;
}

}  // namespace

bool ParseThemeColor(const std::wstring& text, uint32_t* argb)
{
    const size_t start = !text.empty() && text[0] == L'#' ? 1 : 0;
    const size_t digits = text.size() - start;
    if (digits != 6 && digits != 8)
        return false;
    for (size_t i = start; i < text.size(); ++i)
        if (!iswxdigit(text[i]))
            return false;
    const uint32_t value = static_cast<uint32_t>(wcstoul(text.c_str() + start, nullptr, 16));
    *argb = digits == 6 ? 0xFF000000u | value : value;
    return true;
}

std::vector<TextLineStyle> ReadThemeTextLines(const wchar_t* path)
{
    std::vector<TextLineStyle> lines;
    for (const wchar_t* section : THEME_TEXT_SECTIONS) {
        TextLineStyle line;
        line.section = section;
        line.box = {IniNumber(path, section, L"x", 0), IniNumber(path, section, L"y", 0),
                    IniNumber(path, section, L"width", 0), IniNumber(path, section, L"height", 0)};
        line.size = IniNumber(path, section, L"size", DEFAULT_TEXT_SIZE);
        if (line.box.width <= 0 || line.box.height <= 0 || line.size < 1)
            continue;
        line.format = IniText(path, section, L"format", L"%title%");
        line.font = IniText(path, section, L"font", L"");
        line.bold = IniNumber(path, section, L"bold", 0) != 0;
        if (!ParseThemeColor(IniText(path, section, L"color", L""), &line.color))
            line.color = DEFAULT_TEXT_COLOR;
        line.shadow = ParseThemeColor(IniText(path, section, L"shadow", L""), &line.shadowColor);
        line.align = AlignNamed(IniText(path, section, L"align", L"left"));
        lines.push_back(line);
    }
    return lines;
}

std::wstring ExpandTextFormat(const std::wstring& format, const NowPlaying& track)
{
    const struct {
        const wchar_t* name;
        const std::wstring& value;
    } fields[] = {{L"%title%", track.title}, {L"%artist%", track.artist}, {L"%album%", track.album}};
    std::wstring text;
    for (size_t at = 0; at < format.size();) {
        bool replaced = false;
        for (const auto& field : fields) {
            const size_t length = wcslen(field.name);
            if (format.compare(at, length, field.name) == 0) {
                text += field.value;
                at += length;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            text += format[at++];
    }
    return text;
}
