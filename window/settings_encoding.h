#pragma once
#include <windows.h>

// The profile functions keep characters outside the ANSI code page only in a
// file that is UTF-16. When `text` is about to be written into the 8-bit file
// at `path` and would not survive there, the file is rewritten as UTF-16LE
// with its byte-order mark, every line of it kept and its attributes with it.
// False when that was needed and failed (a read-only file is not rewritten):
// the file is then as it was.
bool PrepareFileFor(const wchar_t* path, const wchar_t* text);
