#include "tools/theme_kit/kit_options.h"
#include <algorithm>

bool KitArguments::OnlyOptions(std::initializer_list<const wchar_t*> known) const
{
    return std::all_of(options.begin(), options.end(), [known](const auto& option) {
        return std::any_of(known.begin(), known.end(), [&option](const wchar_t* name) { return option.first == name; });
    });
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
