#pragma once
#include <string>

// UTF-16 to UTF-8 and back; what does not convert is left out.
std::string Utf8Of(const std::wstring& text);
std::wstring WideOf(const std::string& utf8);
