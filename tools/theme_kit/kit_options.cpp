#include "tools/theme_kit/kit_options.h"

bool KitArguments::OnlyOptions(std::initializer_list<const wchar_t*> known) const
{
    for (const auto& option : options) {
        bool found = false;
        for (const wchar_t* name : known)
            found = found || option.first == name;
        if (!found)
            return false;
    }
    return true;
}

std::wstring KitArguments::Option(const wchar_t* name, const wchar_t* absent) const
{
    const auto found = options.find(name);
    return found == options.end() ? absent : found->second;
}

bool SplitArguments(const std::vector<std::wstring>& arguments, KitArguments* split)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].compare(0, 2, L"--") != 0) {
            split->plain.push_back(arguments[i]);
        } else if (i + 1 == arguments.size()) {
            return false;
        } else {
            split->options[arguments[i]] = arguments[i + 1];
            ++i;
        }
    }
    return true;
}
