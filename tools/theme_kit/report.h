#pragma once
#include <string>

// Exit codes of every command.
constexpr int EXIT_NO_ERROR = 0;
constexpr int EXIT_FOUND_ERROR = 1;
constexpr int EXIT_TROUBLE = 2;  // usage, a missing folder, unreadable input

// Findings of one check, printed as they are made. Each says what is wrong,
// what the plug-in will do because of it, and what to change.
class Report {
public:
    void Error(const std::wstring& subject, const std::wstring& wrong, const std::wstring& effect,
               const std::wstring& change)
    {
        Add(&errorCount, L"error", subject, wrong, effect, change);
    }
    void Warning(const std::wstring& subject, const std::wstring& wrong, const std::wstring& effect,
                 const std::wstring& change)
    {
        Add(&warningCount, L"warning", subject, wrong, effect, change);
    }
    int errors() const { return errorCount; }
    int warnings() const { return warningCount; }

private:
    void Add(int* count, const wchar_t* severity, const std::wstring& subject, const std::wstring& wrong,
             const std::wstring& effect, const std::wstring& change);
    int errorCount = 0;
    int warningCount = 0;
};

std::wstring Quote(const std::wstring& text);
std::wstring SizeText(long long width, long long height);
std::wstring RectText(int x, int y, int width, int height);
