#pragma once
#include <string>

// Every fact the host reports is one line on stdout, written straight to the
// handle so that a pipe reader sees it at once, in order.
void Report(const char* format, ...);
// Errors go to stderr as one line.
void ReportError(const char* format, ...);
std::string Utf8Of(const std::wstring& text);
std::wstring WideOf(const std::string& utf8);
