#include "tools/theme_kit/preview.h"
#include <utility>
#include "render/frame.h"
#include "render/theme_text.h"
#include "tools/theme_kit/console.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/sample_cover.h"
#include "tools/theme_kit/report.h"
#include "tools/theme_kit/theme_pictures.h"
#include "render/theme_files.h"

namespace {

constexpr int CHECKER_SQUARE = 8;
constexpr uint32_t CHECKER_LIGHT = 0xFFFFFFFFu, CHECKER_DARK = 0xFFCCCCCCu;

// An opaque picture to put behind the frame: a checkerboard, one colour, or a
// picture file repeated from the top-left corner.
bool MakeBackdrop(const std::wstring& choice, int width, int height, Pixels* backdrop)
{
    backdrop->width = width;
    backdrop->height = height;
    backdrop->argb.assign(static_cast<size_t>(width) * height, 0);
    uint32_t colour = 0;
    Pixels tile;
    if (choice == L"checker") {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                backdrop->argb[static_cast<size_t>(y) * width + x] =
                    ((x / CHECKER_SQUARE + y / CHECKER_SQUARE) % 2) ? CHECKER_DARK : CHECKER_LIGHT;
        return true;
    }
    if (choice[0] == L'#' && ParseThemeColor(choice, &colour)) {
        backdrop->argb.assign(backdrop->argb.size(), 0xFF000000u | colour);
        return true;
    }
    std::vector<unsigned char> bytes;
    if (!ReadPictureArgument(choice, L"backdrop", &bytes))
        return false;
    ImageStreamHolder holder;
    if (!holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())) || !DecodeHeld(holder, &tile)) {
        PrintErrorLine(L"backdrop " + Quote(choice) + L": not checker, #RRGGBB or a picture that decodes");
        return false;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            backdrop->argb[static_cast<size_t>(y) * width + x] = 0xFF000000u | tile.At(x % tile.width, y % tile.height);
    return true;
}

uint32_t Channel(uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFF;
}

// The window's premultiplied pixels as a PNG keeps them: straight alpha.
void Unpremultiply(Pixels* frame)
{
    for (uint32_t& pixel : frame->argb) {
        const uint32_t alpha = pixel >> 24;
        if (alpha == 0) {
            pixel = 0;
            continue;
        }
        uint32_t straight = alpha << 24;
        for (int shift = 0; shift <= 16; shift += 8) {
            const uint32_t value = (Channel(pixel, shift) * 255 + alpha / 2) / alpha;
            straight |= (value > 255 ? 255 : value) << shift;
        }
        pixel = straight;
    }
}

// What the screen shows: the premultiplied frame over the opaque backdrop,
// blended as the plug-in blends its layers.
void ComposeOver(Pixels* frame, Pixels backdrop)
{
    const FramePixels under = {backdrop.argb.data(), backdrop.width, backdrop.height, backdrop.width};
    BlendOver(under, frame->argb.data(), frame->width, frame->height, 0, 0);
    frame->argb.swap(backdrop.argb);
}

bool HoldCover(const std::wstring& path)
{
    std::vector<unsigned char> bytes = path.empty() ? SampleCoverPng() : std::vector<unsigned char>();
    if (!path.empty() && !ReadPictureArgument(path, L"cover", &bytes))
        return false;
    displayState.cover.Release();
    return displayState.cover.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())) != 0;
}

void PrintCoverPlacement(bool aspect)
{
    const ImageRect& slot = displayState.imageRect;
    PrintLine(L"cover slot " + RectText(slot.x, slot.y, slot.width, slot.height));
    Pixels cover;
    if (!DecodeHeld(displayState.cover, &cover)) {
        PrintLine(L"cover: does not decode as a picture; the plug-in shows none");
        return;
    }
    const ImageRect drawn = aspect ? FitCoverRect(slot, cover.width, cover.height) : slot;
    PrintLine(L"cover " + SizeText(cover.width, cover.height) + L" drawn at " +
              RectText(drawn.x, drawn.y, drawn.width, drawn.height) + (aspect ? L", fitted" : L", stretched"));
}

}  // namespace

int PreviewTheme(const PluginWindow& window, const KitArguments& arguments)
{
    const std::wstring aspect = arguments.Option(L"--aspect", L"on");
    const std::wstring backdropChoice = arguments.Option(L"--backdrop");
    if (arguments.plain.size() != 2 || (aspect != L"on" && aspect != L"off") ||
        !arguments.OnlyOptions({L"--dpi", L"--cover", L"--aspect", L"--backdrop", L"--title", L"--artist", L"--album"})) {
        PrintErrorLine(L"usage: coverdeck-theme preview DIR OUT.png [--cover FILE] [--aspect on|off] "
                       L"[--backdrop checker|#RRGGBB|FILE] [--title T] [--artist A] [--album A] [--dpi N]");
        return EXIT_TROUBLE;
    }
    std::wstring folder;
    if (!FolderArgument(arguments.plain[0], L"theme folder", &folder))
        return EXIT_TROUBLE;
    const ReadableThemeFolder readable(folder);
    // Pictures the kit refuses to decode are reported as check reports them.
    Report refused;
    const PictureFile background = InspectThemePicture(readable.path(), THEME_BACKGROUND_FILE, refused);
    const PictureFile overlay = InspectThemePicture(readable.path(), THEME_OVERLAY_FILE, refused);
    if (background.tooLarge || overlay.tooLarge) {
        PrintErrorLine(Quote(arguments.plain[0]) + L": a picture too large to preview (see above)");
        return EXIT_TROUBLE;
    }
    if (!HoldCover(arguments.Option(L"--cover")))
        return EXIT_TROUBLE;
    if (!LoadThemeFolder(window.handle(), readable.path())) {
        PrintErrorLine(Quote(folder) + L": cannot be read");
        return EXIT_TROUBLE;
    }
    if (FellBackToBuiltIn())
        PrintLine(L"background.png did not load: the plug-in shows the built-in theme, and so does this preview");
    displayState.aspectratio = aspect == L"on";
    const NowPlaying sample = SampleTrack();
    displayState.nowPlaying = {arguments.Option(L"--title", sample.title.c_str()),
                               arguments.Option(L"--artist", sample.artist.c_str()),
                               arguments.Option(L"--album", sample.album.c_str())};
    displayState.debug = 0;

    Pixels frame;
    const SIZE size = window.Size();
    PrintLine(L"window " + SizeText(size.cx, size.cy));
    if (!ComposeWindowFrame(window.handle(), &frame)) {
        PrintErrorLine(L"the window is " + SizeText(size.cx, size.cy) + L": there is no frame to write");
        return EXIT_TROUBLE;
    }
    PrintCoverPlacement(aspect == L"on");
    if (backdropChoice.empty()) {
        Unpremultiply(&frame);
    } else {
        Pixels backdrop;
        if (!MakeBackdrop(backdropChoice, frame.width, frame.height, &backdrop))
            return EXIT_TROUBLE;
        ComposeOver(&frame, std::move(backdrop));
    }
    if (!WritePng(arguments.plain[1], frame)) {
        PrintErrorLine(Quote(arguments.plain[1]) + L": cannot be written");
        return EXIT_TROUBLE;
    }
    PrintLine(L"wrote " + arguments.plain[1]);
    return EXIT_NO_ERROR;
}
