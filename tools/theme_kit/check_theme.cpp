#include "tools/theme_kit/check_theme.h"
#include "tools/theme_kit/check_names.h"
#include "tools/theme_kit/check_text.h"
#include "tools/theme_kit/check_theme_ini.h"
#include "tools/theme_kit/console.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/limits.h"
#include "tools/theme_kit/theme_pictures.h"
#include "render/frame_scale.h"
#include "render/theme_files.h"

namespace {

// An overlay pixel at least this opaque hides what lies under it.
constexpr uint32_t HIDING_ALPHA = 224;
constexpr int HIDES_ALL_PERCENT = 90;
constexpr int HIDES_MUCH_PERCENT = 25;

struct Facts {
    SIZE window = {0, 0};
    double presentationMs = -1;
};

void CheckSlotInWindow(const ImageRect& slot, SIZE window, Report& report)
{
    if (slot.width <= 0 || slot.height <= 0 || window.cx <= 0 || window.cy <= 0)
        return;
    const long long right = static_cast<long long>(slot.x) + slot.width;
    const long long bottom = static_cast<long long>(slot.y) + slot.height;
    const std::wstring where = L"the cover slot " + RectText(slot.x, slot.y, slot.width, slot.height);
    const std::wstring background = L"the " + SizeText(window.cx, window.cy) + L" background";
    if (slot.x >= window.cx || slot.y >= window.cy || right <= 0 || bottom <= 0)
        report.Error(THEME_INI_FILE, where + L" lies wholly outside " + background, L"No cover shows",
                     L"Move the slot inside the background");
    else if (slot.x < 0 || slot.y < 0 || right > window.cx || bottom > window.cy)
        report.Warning(THEME_INI_FILE, where + L" reaches outside " + background,
                       L"The cover is cut off at the window's edge",
                       L"Keep x and y at 0 or more, x + width at most " + std::to_wstring(window.cx) +
                           L" and y + height at most " + std::to_wstring(window.cy));
}

void CheckBackgroundPixels(const Pixels& background, Report& report)
{
    bool allOpaque = true, allClear = true;
    for (uint32_t pixel : background.argb) {
        const uint32_t alpha = pixel >> 24;
        allOpaque = allOpaque && alpha == 255;
        allClear = allClear && alpha == 0;
    }
    if (allOpaque)
        report.Warning(THEME_BACKGROUND_FILE, L"has no transparency",
                       L"The window is a plain opaque " + SizeText(background.width, background.height) +
                           L" rectangle, which is fine if that is the look you want",
                       L"For another shape, a shadow or rounded corners, give it an alpha channel");
    else if (allClear)
        report.Warning(THEME_BACKGROUND_FILE, L"is fully transparent",
                       L"Only the cover and the overlay show, and clicks elsewhere pass through the window",
                       L"Paint the frame that should show and be grabbed");
}

void CheckOverlayPixels(const Pixels& overlay, SIZE window, const ImageRect& slot, Report& report)
{
    if (overlay.width != window.cx || overlay.height != window.cy)
        report.Warning(THEME_OVERLAY_FILE,
                       SizeText(overlay.width, overlay.height) + L", while the background is " +
                           SizeText(window.cx, window.cy),
                       L"The plug-in draws it at its own size from the top-left corner, so it is cut off or leaves "
                       L"part of the window uncovered",
                       L"Make it " + SizeText(window.cx, window.cy));
    // The part of the slot that shows in the window and the overlay covers.
    const long long left = slot.x > 0 ? slot.x : 0, top = slot.y > 0 ? slot.y : 0;
    long long right = static_cast<long long>(slot.x) + slot.width, bottom = static_cast<long long>(slot.y) + slot.height;
    right = right < window.cx ? right : window.cx;
    bottom = bottom < window.cy ? bottom : window.cy;
    if (slot.width <= 0 || slot.height <= 0 || right <= left || bottom <= top)
        return;
    long long hidden = 0;
    for (long long y = top; y < bottom; ++y)
        for (long long x = left; x < right; ++x)
            if (x < overlay.width && y < overlay.height &&
                (overlay.At(static_cast<int>(x), static_cast<int>(y)) >> 24) >= HIDING_ALPHA)
                ++hidden;
    const int percent = static_cast<int>(100 * hidden / ((right - left) * (bottom - top)));
    const std::wstring wrong = L"nearly opaque over " + std::to_wstring(percent) + L"% of the cover slot";
    const std::wstring change = L"Keep it mostly transparent over " + RectText(slot.x, slot.y, slot.width, slot.height);
    if (percent >= HIDES_ALL_PERCENT)
        report.Error(THEME_OVERLAY_FILE, wrong, L"It hides the cover", change);
    else if (percent >= HIDES_MUCH_PERCENT)
        report.Warning(THEME_OVERLAY_FILE, wrong, L"It hides that much of the cover", change);
}

void CheckDecodedPictures(const PictureFile& background, const PictureFile& overlay, const ImageRect& slot,
                          const PluginWindow& window, Facts* facts, Report& report)
{
    Pixels decoded;
    // A picture the gate refused was reported with the reason; here only a
    // decoder's own failure is.
    if (FellBackToBuiltIn()) {
        if (background.readable && background.header.format != PictureFormat::NONE)
            report.Error(THEME_BACKGROUND_FILE, L"does not decode as a picture",
                         L"The plug-in shows the built-in theme instead and forgets the choice", L"Save a valid PNG");
        return;
    }
    facts->window = window.Size();
    if (!DecodeHeld(displayState.background, &decoded)) {
        report.Error(THEME_BACKGROUND_FILE, L"does not decode as a picture",
                     L"The plug-in keeps the theme in a " + SizeText(facts->window.cx, facts->window.cy) +
                         L" window, so nothing shows",
                     L"Save a valid PNG");
        return;
    }
    CheckBackgroundPixels(decoded, report);
    if (overlay.readable && !overlay.tooLarge && overlay.header.format != PictureFormat::NONE) {
        Pixels overlayPixels;
        if (DecodeHeld(displayState.overlay, &overlayPixels))
            CheckOverlayPixels(overlayPixels, facts->window, slot, report);
        else
            report.Error(THEME_OVERLAY_FILE, L"does not decode as a picture", L"The plug-in draws the frame without it",
                         L"Save a valid PNG, or remove the file");
    }
    if (overlay.tooLarge)
        return;
    facts->presentationMs = PresentationMilliseconds(window.handle());
    if (facts->presentationMs > NOTICEABLE_PRESENTATION_MS)
        report.Warning(THEME_BACKGROUND_FILE,
                       SizeText(facts->window.cx, facts->window.cy) + L" pixels take " +
                           std::to_wstring(static_cast<int>(facts->presentationMs + 0.5)) +
                           L" ms to present here (a listener notices more than " +
                           std::to_wstring(static_cast<int>(NOTICEABLE_PRESENTATION_MS)) + L" ms)",
                       L"The plug-in stalls that long at every cover change", L"Make the theme smaller");
}

std::wstring Summary(const std::wstring& name, const Report& report, const ImageRect& slot, const Facts& facts)
{
    std::wstring line = Quote(name) + L": " + std::to_wstring(report.errors()) +
                        (report.errors() == 1 ? L" error, " : L" errors, ") + std::to_wstring(report.warnings()) +
                        (report.warnings() == 1 ? L" warning" : L" warnings");
    if (facts.window.cx > 0)
        line += L"; window " + SizeText(facts.window.cx, facts.window.cy) +
                (FrameDpi() == BASE_DPI ? L"" : L" at " + std::to_wstring(FrameDpi()) + L" DPI");
    line += L"; cover slot " + RectText(slot.x, slot.y, slot.width, slot.height);
    if (facts.presentationMs >= 0) {
        wchar_t milliseconds[32];
        swprintf(milliseconds, 32, L"%.1f", facts.presentationMs);
        line += std::wstring(L"; one presentation ") + milliseconds + L" ms";
    }
    const int longest = LongestPluginFolder(name);
    if (longest > 0)
        line += L"; works below plug-in folders of up to " + std::to_wstring(longest) + L" characters";
    return line;
}

}  // namespace

int CheckTheme(const PluginWindow& window, const std::wstring& folder)
{
    const std::wstring name = LastComponent(folder);
    const ReadableThemeFolder readable(folder);
    Report report;
    CheckFolderName(name, report);
    CheckFileNameCase(readable.path(), report);
    const SlotReading reading = CheckThemeIni(readable.path(), report);
    const PictureFile background = InspectThemePicture(readable.path(), THEME_BACKGROUND_FILE, report);
    const PictureFile overlay = InspectThemePicture(readable.path(), THEME_OVERLAY_FILE, report);

    Facts facts;
    if (background.tooLarge) {
        // Not decoded: the header's size stands for the window's.
        facts.window = SIZE{static_cast<LONG>(background.header.width), static_cast<LONG>(background.header.height)};
    } else if (!LoadThemeFolder(window.handle(), readable.path())) {
        PrintErrorLine(Quote(folder) + L": cannot be read");
        return EXIT_TROUBLE;
    } else {
        CheckDecodedPictures(background, overlay, reading.slot, window, &facts, report);
    }
    // The slot is in the theme's own pixels, and so is what it is checked against.
    const SIZE own = {MulDiv(facts.window.cx, BASE_DPI, FrameDpi()), MulDiv(facts.window.cy, BASE_DPI, FrameDpi())};
    if (reading.read) {
        CheckSlotInWindow(reading.slot, own, report);
        CheckThemeText(readable.path() + L"\\" + THEME_INI_FILE, own, report);
    }
    PrintLine(Summary(name, report, reading.slot, facts));
    return report.errors() > 0 ? EXIT_FOUND_ERROR : EXIT_NO_ERROR;
}
