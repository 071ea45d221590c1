#include "host_options.h"
#include "output.h"

namespace {

bool TakeValue(int argc, wchar_t** argv, int* at, std::wstring* value)
{
    if (*at + 1 >= argc) {
        ReportError("error: %s needs a value", Utf8Of(argv[*at]).c_str());
        return false;
    }
    *value = argv[++*at];
    return true;
}

}  // namespace

bool ParseHostOptions(int argc, wchar_t** argv, HostOptions* options)
{
    std::wstring scriptPath;
    int at = 1;
    for (; at < argc; ++at) {
        std::wstring option = argv[at];
        if (option == L"--") {
            ++at;
            break;
        }
        std::wstring* value = option == L"--bass"     ? &options->bassPath
                              : option == L"--plugin" ? &options->pluginPath
                              : option == L"--wallpaper" ? &options->wallpaper
                              : option == L"--script" ? &scriptPath
                                                      : nullptr;
        if (!value) {
            ReportError("error: unknown option %s", Utf8Of(option).c_str());
            return false;
        }
        if (!TakeValue(argc, argv, &at, value))
            return false;
    }

    std::wstring error;
    if (!scriptPath.empty()) {
        int errorLine = 0;
        if (!ReadScript(scriptPath, &options->steps, &errorLine, &error)) {
            ReportError("error line %d: %s", errorLine, Utf8Of(error).c_str());
            return false;
        }
    }
    for (int line = 1; at < argc; ++at, ++line) {
        Step step;
        if (!ParseStep(argv[at], line, &step, &error)) {
            ReportError("error line %d: %s", line, Utf8Of(error).c_str());
            return false;
        }
        options->steps.push_back(step);
    }
    return true;
}
