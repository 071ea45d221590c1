#include "tools/theme_kit/report.h"
#include "tools/theme_kit/console.h"

namespace {

std::wstring FindingLine(const wchar_t* severity, const std::wstring& subject, const std::wstring& wrong,
                                const std::wstring& effect, const std::wstring& change)
{
    return std::wstring(severity) + L": " + subject + L": " + wrong + L". " + effect + L". " + change + L".";
}

}  // namespace

void Report::Error(const std::wstring& subject, const std::wstring& wrong, const std::wstring& effect,
                   const std::wstring& change)
{
    ++errorCount;
    PrintLine(FindingLine(L"error", subject, wrong, effect, change));
}

void Report::Warning(const std::wstring& subject, const std::wstring& wrong, const std::wstring& effect,
                     const std::wstring& change)
{
    ++warningCount;
    PrintLine(FindingLine(L"warning", subject, wrong, effect, change));
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
