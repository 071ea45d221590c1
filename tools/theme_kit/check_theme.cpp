#include "tools/theme_kit/commands.h"
#include <algorithm>
#include "tools/theme_kit/checks.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/theme_pictures.h"
#include "render/frame_scale.h"
#include "render/theme_files.h"

namespace {

// An overlay pixel at least this opaque hides what lies under it.
constexpr uint32_t HIDING_ALPHA = 224;
constexpr int HIDES_ALL_PERCENT = 90;
constexpr int HIDES_MUCH_PERCENT = 25;
// One presentation slower than this is a pause a listener notices: about a
// tenth of a second is where a response stops feeling immediate.
constexpr double NOTICEABLE_PRESENTATION_MS = 100.0;

struct Facts {
    SIZE window = {0, 0};
    double presentationMs = -1;
};

LONG End(int start, int length)
{
    return static_cast<LONG>(std::clamp<long long>(0LL + start + length, LONG_MIN, LONG_MAX));
}

// The part of `rect` inside a window of `size`, empty when none.
RECT VisiblePart(const ImageRect& rect, SIZE size)
{
    const RECT window = {0, 0, size.cx, size.cy};
    const RECT whole = {rect.x, rect.y, End(rect.x, rect.width), End(rect.y, rect.height)};
    RECT shown = {};
    IntersectRect(&shown, &window, &whole);
    return shown;
}

void CheckSlotInWindow(const ImageRect& slot, SIZE window, Report& report)
{
    if (slot.width <= 0 || slot.height <= 0 || window.cx <= 0 || window.cy <= 0)
        return;
    const RECT shown = VisiblePart(slot, window);
    const std::wstring where = L"the cover slot " + RectText(slot);
    const std::wstring background = L"the " + SizeText(window.cx, window.cy) + L" background";
    if (IsRectEmpty(&shown))
        report.Error(THEME_INI_FILE, where + L" lies wholly outside " + background, L"No cover shows",
                     L"Move the slot inside the background");
    else if (!WhollyInside(slot, window))
        report.Warning(THEME_INI_FILE, where + L" reaches outside " + background,
                       L"The cover is cut off at the window's edge",
                       L"Keep x and y at 0 or more, x + width at most " + std::to_wstring(window.cx) +
                           L" and y + height at most " + std::to_wstring(window.cy));
}

void CheckBackgroundPixels(const Pixels& background, Report& report)
{
    const auto all = [&background](uint32_t alpha) {
        return std::all_of(background.argb.begin(), background.argb.end(),
                           [alpha](uint32_t pixel) { return pixel >> 24 == alpha; });
    };
    if (all(255))
        report.Warning(THEME_BACKGROUND_FILE, L"has no transparency",
                       L"The window is a plain opaque " + SizeText(background.width, background.height) +
                           L" rectangle, which is fine if that is the look you want",
                       L"For another shape, a shadow or rounded corners, give it an alpha channel");
    else if (all(0))
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
    const RECT shown = VisiblePart(slot, window);
    if (IsRectEmpty(&shown))
        return;
    long long hidden = 0;
    for (LONG y = shown.top; y < shown.bottom; ++y)
        for (LONG x = shown.left; x < shown.right; ++x)
            hidden += x < overlay.width && y < overlay.height && (overlay.At(x, y) >> 24) >= HIDING_ALPHA;
    const long long area = 1LL * (shown.right - shown.left) * (shown.bottom - shown.top);
    const int percent = static_cast<int>(100 * hidden / area);
    const std::wstring wrong = L"nearly opaque over " + std::to_wstring(percent) + L"% of the cover slot";
    const std::wstring change = L"Keep it mostly transparent over " + RectText(slot);
    if (percent >= HIDES_ALL_PERCENT)
        report.Error(THEME_OVERLAY_FILE, wrong, L"It hides the cover", change);
    else if (percent >= HIDES_MUCH_PERCENT)
        report.Warning(THEME_OVERLAY_FILE, wrong, L"It hides that much of the cover", change);
}

void CheckDecodedPictures(const PictureFile& background, const PictureFile& overlay, const ImageRect& slot,
                          const LayeredPopup& window, Facts* facts, Report& report)
{
    Pixels decoded;
    // A picture the gate refused was reported with the reason; here only a
    // decoder's own failure is.
    if (FellBackToBuiltIn()) {
        if (background.passesGate)
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
    if (overlay.passesGate) {
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
    std::wstring line =
        Quote(name) + L": " + Counted(report.errors(), L"error") + L", " + Counted(report.warnings(), L"warning");
    if (facts.window.cx > 0)
        line += L"; window " + SizeText(facts.window.cx, facts.window.cy) +
                (FrameDpi() == BASE_DPI ? L"" : L" at " + std::to_wstring(FrameDpi()) + L" DPI");
    line += L"; cover slot " + RectText(slot);
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

bool WhollyInside(const ImageRect& rect, SIZE size)
{
    const RECT shown = VisiblePart(rect, size);
    return shown.right - shown.left == rect.width && shown.bottom - shown.top == rect.height;
}

int CheckTheme(const LayeredPopup& window, const std::wstring& folder)
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
        return Trouble(Quote(folder) + L": cannot be read");
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
