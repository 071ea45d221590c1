#pragma once
#include <string>

// One line of text on standard output (or standard error): UTF-16 to a
// console window, UTF-8 to a pipe or a file.
void PrintLine(const std::wstring& line);
void PrintErrorLine(const std::wstring& line);
