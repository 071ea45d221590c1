#include "tools/theme_kit/report.h"
#include <windows.h>
#include "helpers/text.h"

namespace {

void WriteLine(DWORD which, const std::wstring& line)
{
    HANDLE out = GetStdHandle(which);
    if (out == NULL || out == INVALID_HANDLE_VALUE)
        return;
    const std::wstring text = line + L"\r\n";
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, NULL);
        return;
    }
    const std::string utf8 = Utf8Of(text);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, NULL);
}

}  // namespace

void PrintLine(const std::wstring& line)
{
    WriteLine(STD_OUTPUT_HANDLE, line);
}

void PrintErrorLine(const std::wstring& line)
{
    WriteLine(STD_ERROR_HANDLE, line);
}

int Trouble(const std::wstring& why)
{
    PrintErrorLine(why);
    return EXIT_TROUBLE;
}

void Report::Add(int* count, const wchar_t* severity, const std::wstring& subject, const std::wstring& wrong,
                 const std::wstring& effect, const std::wstring& change)
{
    ++*count;
    PrintLine(std::wstring(severity) + L": " + subject + L": " + wrong + L". " + effect + L". " + change + L".");
}

std::wstring Quote(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::wstring Counted(size_t count, const wchar_t* noun)
{
    return std::to_wstring(count) + L" " + noun + (count == 1 ? L"" : L"s");
}

std::wstring SizeText(long long width, long long height)
{
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

std::wstring RectText(const ImageRect& rect)
{
    return L"(" + std::to_wstring(rect.x) + L", " + std::to_wstring(rect.y) + L", " + std::to_wstring(rect.width) +
           L", " + std::to_wstring(rect.height) + L")";
}
