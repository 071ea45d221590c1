#pragma once
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A command's arguments: the plain ones in order, and "--name value" pairs
// wherever they stand (the last of a name counts).
struct KitArguments {
    std::vector<std::wstring> plain;
    std::map<std::wstring, std::wstring> options;

    // False when an option is none of `known`.
    bool OnlyOptions(std::initializer_list<const wchar_t*> known) const;
    std::wstring Option(const wchar_t* name, const wchar_t* absent = L"") const;
};

// False when an option lacks its value.
bool SplitArguments(const std::vector<std::wstring>& arguments, KitArguments* split);
