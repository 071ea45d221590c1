#include <algorithm>
#include <utility>
#include "render/frame.h"
#include "render/theme_files.h"
#include "render/theme_text.h"
#include "tools/theme_kit/commands.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/sample_cover.h"
#include "tools/theme_kit/theme_pictures.h"

namespace {

constexpr int CHECKER_SQUARE = 8;
constexpr uint32_t CHECKER_LIGHT = 0xFFFFFFFFu, CHECKER_DARK = 0xFFCCCCCCu;

// An opaque picture to put behind the frame: a checkerboard, one colour, or a
// picture file repeated from the top-left corner.
bool MakeBackdrop(const std::wstring& choice, int width, int height, Pixels* backdrop)
{
    uint32_t colour = 0;
    if (choice == L"checker") {
        *backdrop = PixelsFrom(width, height, [](int x, int y) {
            return (x / CHECKER_SQUARE + y / CHECKER_SQUARE) % 2 ? CHECKER_DARK : CHECKER_LIGHT;
        });
        return true;
    }
    if (choice[0] == L'#' && ParseThemeColor(choice, &colour)) {
        *backdrop = PixelsFrom(width, height, [colour](int, int) { return 0xFF000000u | colour; });
        return true;
    }
    std::vector<unsigned char> bytes;
    ImageStreamHolder holder;
    Pixels tile;
    if (!ReadPictureArgument(choice, L"backdrop", &bytes))
        return false;
    if (!holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())) || !DecodeHeld(holder, &tile)) {
        PrintErrorLine(L"backdrop " + Quote(choice) + L": not checker, #RRGGBB or a picture that decodes");
        return false;
    }
    *backdrop = PixelsFrom(width, height,
                           [&tile](int x, int y) { return 0xFF000000u | tile.At(x % tile.width, y % tile.height); });
    return true;
}

// The window's premultiplied pixels as a PNG keeps them: straight alpha.
void Unpremultiply(Pixels* frame)
{
    for (uint32_t& pixel : frame->argb) {
        const uint32_t alpha = pixel >> 24;
        uint32_t straight = alpha << 24;
        for (int shift = 0; alpha > 0 && shift <= 16; shift += 8)
            straight |= std::min(255u, (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha) << shift;
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

void PrintCoverPlacement(bool aspect)
{
    const ImageRect& slot = displayState.imageRect;
    PrintLine(L"cover slot " + RectText(slot));
    Pixels cover;
    if (!DecodeHeld(displayState.cover, &cover)) {
        PrintLine(L"cover: does not decode as a picture; the plug-in shows none");
        return;
    }
    const ImageRect drawn = aspect ? FitCoverRect(slot, cover.width, cover.height) : slot;
    PrintLine(L"cover " + SizeText(cover.width, cover.height) + L" drawn at " + RectText(drawn) +
              (aspect ? L", fitted" : L", stretched"));
}

}  // namespace

int PreviewTheme(const LayeredPopup& window, const KitArguments& arguments)
{
    const std::wstring aspect = arguments.Option(L"--aspect", L"on");
    const std::wstring backdropChoice = arguments.Option(L"--backdrop");
    if (arguments.plain.size() != 2 || (aspect != L"on" && aspect != L"off") ||
        !arguments.OnlyOptions({L"--dpi", L"--cover", L"--aspect", L"--backdrop", L"--title", L"--artist", L"--album"}))
        return Usage();
    std::wstring folder;
    if (!FolderArgument(arguments.plain[0], L"theme folder", &folder))
        return EXIT_TROUBLE;
    const ReadableThemeFolder readable(folder);
    // Pictures the kit refuses to decode are reported as check reports them.
    Report refused;
    const PictureFile background = InspectThemePicture(readable.path(), THEME_BACKGROUND_FILE, refused);
    const PictureFile overlay = InspectThemePicture(readable.path(), THEME_OVERLAY_FILE, refused);
    if (background.tooLarge || overlay.tooLarge)
        return Trouble(Quote(arguments.plain[0]) + L": a picture too large to preview (see above)");
    if (!HoldCover(arguments.Option(L"--cover")))
        return EXIT_TROUBLE;
    if (!LoadThemeFolder(window.handle(), readable.path()))
        return Trouble(Quote(folder) + L": cannot be read");
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
    if (!ComposeWindowFrame(window, &frame))
        return Trouble(L"the window is " + SizeText(size.cx, size.cy) + L": there is no frame to write");
    PrintCoverPlacement(aspect == L"on");
    if (backdropChoice.empty()) {
        Unpremultiply(&frame);
    } else {
        Pixels backdrop;
        if (!MakeBackdrop(backdropChoice, frame.width, frame.height, &backdrop))
            return EXIT_TROUBLE;
        ComposeOver(&frame, std::move(backdrop));
    }
    if (!WritePng(arguments.plain[1], frame))
        return Trouble(Quote(arguments.plain[1]) + L": cannot be written");
    PrintLine(L"wrote " + arguments.plain[1]);
    return EXIT_NO_ERROR;
}
