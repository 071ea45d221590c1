#pragma once
#include <string>
#include "state/display_state.h"

// One line of text on standard output (or standard error): UTF-16 to a
// console window, UTF-8 to a pipe or a file.
void PrintLine(const std::wstring& line);
void PrintErrorLine(const std::wstring& line);

// Exit codes of every command.
constexpr int EXIT_NO_ERROR = 0;
constexpr int EXIT_FOUND_ERROR = 1;
constexpr int EXIT_TROUBLE = 2;  // usage, a missing folder, unreadable input

// Prints why the command cannot go on, on standard error; EXIT_TROUBLE.
int Trouble(const std::wstring& why);

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
// "1 error", "2 errors".
std::wstring Counted(size_t count, const wchar_t* noun);
std::wstring SizeText(long long width, long long height);
std::wstring RectText(const ImageRect& rect);
