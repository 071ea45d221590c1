#pragma once
#include <windows.h>

// Formats a path (wsprintf syntax, %s takes a wide string) into a MAX_PATH
// buffer. Returns false and leaves `out` empty when the result does not fit.
bool FormatPath(wchar_t (&out)[MAX_PATH], const wchar_t* format, ...);
