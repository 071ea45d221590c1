#include "tools/theme_kit/report.h"
#include "tools/theme_kit/console.h"

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

std::wstring SizeText(long long width, long long height)
{
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

std::wstring RectText(int x, int y, int width, int height)
{
    return L"(" + std::to_wstring(x) + L", " + std::to_wstring(y) + L", " + std::to_wstring(width) + L", " +
           std::to_wstring(height) + L")";
}
