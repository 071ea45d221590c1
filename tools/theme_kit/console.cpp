#include "tools/theme_kit/console.h"
#include <windows.h>

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
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, NULL, NULL);
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
