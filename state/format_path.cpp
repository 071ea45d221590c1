#include "state/format_path.h"
#include <shlwapi.h>
#include <stdarg.h>

bool FormatPath(wchar_t (&out)[MAX_PATH], const wchar_t* format, ...)
{
    // A scratch buffer far larger than any result we accept, so a truncated
    // format is always recognisable by its length.
    wchar_t scratch[4 * MAX_PATH];
    va_list args;
    va_start(args, format);
    int written = wvnsprintfW(scratch, ARRAYSIZE(scratch), format, args);
    va_end(args);

    out[0] = L'\0';
    if (written < 0 || written >= MAX_PATH || lstrlenW(scratch) >= MAX_PATH)
        return false;
    lstrcpynW(out, scratch, MAX_PATH);
    return true;
}
