// coverdeck-theme: checks and previews a theme with the plug-in's own theme
// loading and frame composition.
#include <windows.h>
#include <string>
#include <vector>
#include "tools/theme_kit/commands.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/sample_cover.h"
#include "render/frame_scale.h"
#include "state/com_session.h"
#include "state/gdiplus_session.h"

namespace {

constexpr wchar_t USAGE[] =
    L"usage: coverdeck-theme check DIR [--dpi N]\n"
    L"       coverdeck-theme check-all ROOT [--dpi N]\n"
    L"       coverdeck-theme preview DIR OUT.png [--cover FILE] [--aspect on|off] [--backdrop checker|#RRGGBB|FILE]"
    L" [--title T] [--artist A] [--album A] [--dpi N]";
// The scales a screen is run at: 50 % to 500 %.
constexpr long LOWEST_DPI = 48, HIGHEST_DPI = 480;

// "--dpi N": the screen's DPI that check and preview draw the theme at, as
// the plug-in does on such a screen.
bool DpiOption(const KitArguments& arguments, int* dpi)
{
    const std::wstring text = arguments.Option(L"--dpi", L"96");
    wchar_t* end = nullptr;
    const long value = wcstol(text.c_str(), &end, 10);
    *dpi = static_cast<int>(value);
    return *end == L'\0' && value >= LOWEST_DPI && value <= HIGHEST_DPI;
}

}  // namespace

int Usage()
{
    return Trouble(USAGE);
}

int wmain(int argc, wchar_t** argv)
{
    // Bad input must give a message and an exit code, never a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    KitArguments arguments;
    int dpi = BASE_DPI;
    if (argc < 3 || !SplitArguments(std::vector<std::wstring>(argv + 2, argv + argc), &arguments) ||
        !DpiOption(arguments, &dpi))
        return Usage();
    SetFrameDpi(dpi);
    // COM too, so the cover is scaled by WIC as in the plug-in.
    ComSession com;
    GdiplusSession gdiplus;
    // A hidden layered popup of the plug-in's kind: LoadTheme sizes it and
    // PresentFrame updates it, as they do the real one.
    const LayeredPopup window(L"coverdeck_theme_kit", DefWindowProcW, RECT{0, 0, 1, 1});
    if (!window.handle())
        return Trouble(L"cannot create a window (is there a display?)");
    if (command == L"preview")
        return PreviewTheme(window, arguments);
    if (arguments.plain.size() != 1 || !arguments.OnlyOptions({L"--dpi"}) ||
        (command != L"check" && command != L"check-all"))
        return Usage();
    // check times presentations as the plug-in's defaults have them: the kit's
    // sample cover fitted into the slot, the sample track's text.
    displayState.aspectratio = 1;
    displayState.nowPlaying = SampleTrack();
    if (!HoldCover(L""))
        return Trouble(L"cannot make the sample cover");
    const bool one = command == L"check";
    std::wstring folder;
    if (!FolderArgument(arguments.plain[0], one ? L"theme folder" : L"themes folder", &folder))
        return EXIT_TROUBLE;
    return one ? CheckTheme(window, folder) : CheckAllThemes(window, folder);
}
