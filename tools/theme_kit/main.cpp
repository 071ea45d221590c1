// coverdeck-theme: checks and previews a theme with the plug-in's own theme
// loading and frame composition.
#include <windows.h>
#include <string>
#include <vector>
#include "tools/theme_kit/check_all.h"
#include "tools/theme_kit/check_theme.h"
#include "tools/theme_kit/console.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/sample_cover.h"
#include "tools/theme_kit/preview.h"
#include "tools/theme_kit/report.h"
#include "render/frame_scale.h"
#include "state/com_session.h"
#include "state/gdiplus_session.h"

namespace {

constexpr wchar_t USAGE[] =
    L"usage: coverdeck-theme check DIR [--dpi N]\n"
    L"       coverdeck-theme check-all ROOT [--dpi N]\n"
    L"       coverdeck-theme preview DIR OUT.png [--cover FILE] [--aspect on|off] [--backdrop checker|#RRGGBB|FILE]"
    L" [--dpi N]";
// The scales a screen is run at: 50 % to 500 %.
constexpr long LOWEST_DPI = 48, HIGHEST_DPI = 480;

int Usage()
{
    PrintErrorLine(USAGE);
    return EXIT_TROUBLE;
}

// check times presentations as the plug-in's defaults have them: the kit's
// sample cover fitted into the slot.
bool HoldSampleCover()
{
    displayState.aspectratio = 1;
    const std::vector<unsigned char> cover = SampleCoverPng();
    return !cover.empty() && displayState.cover.LoadFromMemory(cover.data(), static_cast<uint32_t>(cover.size()));
}

// Takes "--dpi N" out of the arguments: the screen's DPI that check and
// preview draw the theme at, as the plug-in does on such a screen.
bool TakeDpiOption(std::vector<std::wstring>* arguments, int* dpi)
{
    *dpi = BASE_DPI;
    for (size_t i = 0; i < arguments->size(); ++i) {
        if ((*arguments)[i] != L"--dpi")
            continue;
        wchar_t* end = nullptr;
        const long value = i + 1 < arguments->size() ? wcstol((*arguments)[i + 1].c_str(), &end, 10) : 0;
        if (!end || *end != L'\0' || value < LOWEST_DPI || value > HIGHEST_DPI)
            return false;
        *dpi = static_cast<int>(value);
        arguments->erase(arguments->begin() + static_cast<std::ptrdiff_t>(i),
                         arguments->begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Bad input must give a message and an exit code, never a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc < 3)
        return Usage();
    const std::wstring command = argv[1];
    std::vector<std::wstring> arguments(argv + 2, argv + argc);
    int dpi = BASE_DPI;
    if (!TakeDpiOption(&arguments, &dpi))
        return Usage();
    SetFrameDpi(dpi);
    // COM too, so the cover is scaled by WIC as in the plug-in.
    ComSession com;
    GdiplusSession gdiplus;
    PluginWindow window;
    if (!window.handle()) {
        PrintErrorLine(L"cannot create a window (is there a display?)");
        return EXIT_TROUBLE;
    }
    if (command == L"preview")
        return PreviewTheme(window, arguments);
    if (arguments.size() != 1 || (command != L"check" && command != L"check-all"))
        return Usage();
    if (!HoldSampleCover()) {
        PrintErrorLine(L"cannot make the sample cover");
        return EXIT_TROUBLE;
    }
    const bool one = command == L"check";
    std::wstring folder;
    if (!FolderArgument(arguments[0], one ? L"theme folder" : L"themes folder", &folder))
        return EXIT_TROUBLE;
    return one ? CheckTheme(window, folder) : CheckAllThemes(window, folder);
}
