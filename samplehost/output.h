#pragma once
#include "helpers/text.h"  // Utf8Of, WideOf: every caller formats with them

// Every fact the host reports is one line on stdout, written straight to the
// handle so that a pipe reader sees it at once, in order.
void Report(const char* format, ...);
// Errors go to stderr as one line.
void ReportError(const char* format, ...);
