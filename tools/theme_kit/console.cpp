#include "tools/theme_kit/console.h"
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
