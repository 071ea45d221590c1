#include "output.h"
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

namespace {

void WriteLine(DWORD which, const char* format, va_list args)
{
    char line[4096];
    int length = vsnprintf(line, sizeof line - 1, format, args);
    if (length < 0)
        return;
    if (length > static_cast<int>(sizeof line) - 2)
        length = static_cast<int>(sizeof line) - 2;
    line[length++] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(which), line, static_cast<DWORD>(length), &written, NULL);
}

}  // namespace

void Report(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLine(STD_OUTPUT_HANDLE, format, args);
    va_end(args);
}

void ReportError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLine(STD_ERROR_HANDLE, format, args);
    va_end(args);
}
