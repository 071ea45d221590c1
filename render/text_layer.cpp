#include "render/text_layer.h"
#include <algorithm>
#include <vector>
#include "render/frame_scale.h"
#include "render/gdiplus_flat.h"
#include "render/theme_text.h"
#include "state/display_state.h"
#include "state/owners.h"

namespace {

// Faces that have Japanese, Chinese or Korean glyphs, in the order Windows
// versions and Linux desktops have them.
constexpr const wchar_t* FALLBACK_FACES[] = {
    L"Yu Gothic UI", L"Meiryo UI",  L"MS UI Gothic", L"Microsoft YaHei UI", L"Microsoft JhengHei UI",
    L"Malgun Gothic", L"SimSun",    L"IPAGothic",    L"Noto Sans CJK JP",   L"Droid Sans Fallback"};
constexpr wchar_t ELLIPSIS[] = L"\u2026";
constexpr int FAR_OFF = 1 << 20;

std::vector<TextLineStyle> lines;

// The frame as last drawn: the lines' text and the scale they were drawn
// at, and their pixels over the part of the window the boxes cover.
struct DrawnLines {
    bool valid = false;
    NowPlaying track;
    int dpi = 0, width = 0, height = 0;
    RECT area = {};
    std::vector<uint32_t> pixels;
} drawn;

LOGFONTW FontRequest(const wchar_t* face, int pixels)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    if (face)
        lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    font.lfHeight = -pixels;
    font.lfWidth = 0;
    return font;
}

// What GDI gives for a request: the real family behind any substitute name
// ("MS Shell Dlg"), and whether that font itself, without the fonts the
// system links to it, has a glyph for every character of `text`.
struct GdiFace {
    std::wstring family;
    bool coversText = false;
};

GdiFace MatchFace(HDC dc, const LOGFONTW& request, const std::wstring& text)
{
    GdiFace matched;
    const UniqueGdiObject font(CreateFontIndirectW(&request));
    const ScopedSelect selected(dc, font.get());
    const UINT metricsSize = font ? GetOutlineTextMetricsW(dc, 0, nullptr) : 0;
    const DWORD rangesSize = font ? GetFontUnicodeRanges(dc, nullptr) : 0;
    if (metricsSize < sizeof(OUTLINETEXTMETRICW) || rangesSize < sizeof(GLYPHSET))
        return matched;
    std::vector<uint8_t> metrics(metricsSize), ranges(rangesSize);
    const auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
    const auto* glyphs = reinterpret_cast<GLYPHSET*>(ranges.data());
    if (!GetOutlineTextMetricsW(dc, metricsSize, reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data())) ||
        !GetFontUnicodeRanges(dc, reinterpret_cast<GLYPHSET*>(ranges.data())))
        return matched;
    const size_t familyAt = reinterpret_cast<uintptr_t>(outline->otmpFamilyName);
    if (familyAt < metricsSize)
        matched.family.assign(reinterpret_cast<const wchar_t*>(metrics.data() + familyAt),
                              wcsnlen(reinterpret_cast<const wchar_t*>(metrics.data() + familyAt),
                                      (metricsSize - familyAt) / sizeof(wchar_t)));
    matched.coversText = true;
    for (wchar_t c : text) {
        // The ranges list only the basic plane: a surrogate is taken as covered.
        bool inRange = IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c);
        for (DWORD r = 0; r < glyphs->cRanges && !inRange; ++r)
            inRange = c >= glyphs->ranges[r].wcLow && c < glyphs->ranges[r].wcLow + glyphs->ranges[r].cGlyphs;
        matched.coversText = matched.coversText && inRange;
    }
    return matched;
}

// Any family at all, so that a line shows even where none of the names is known.
std::wstring FirstInstalledFamily()
{
    Gdiplus::GpFontCollection* installed = nullptr;
    INT count = 0, found = 0;
    Gdiplus::GpFontFamily* families[1] = {};
    if (GdipNewInstalledFontCollection(&installed) != Gdiplus::Ok ||
        GdipGetFontCollectionFamilyCount(installed, &count) != Gdiplus::Ok || count < 1 ||
        GdipGetFontCollectionFamilyList(installed, 1, families, &found) != Gdiplus::Ok || found < 1)
        return std::wstring();
    wchar_t name[LF_FACESIZE] = L"";
    GdipGetFamilyName(families[0], name, LANG_NEUTRAL);
    return name;
}

std::wstring ChooseFace(HDC dc, const std::wstring& face, const std::wstring& text)
{
    // The named face, the message font's real family, then faces with the
    // glyphs of East Asian scripts: the first GDI+ knows that has every glyph,
    // else the first it knows.
    std::vector<std::wstring> candidates;
    if (!face.empty())
        candidates.push_back(face);
    candidates.push_back(MatchFace(dc, FontRequest(nullptr, 16), L"").family);
    candidates.insert(candidates.end(), std::begin(FALLBACK_FACES), std::end(FALLBACK_FACES));
    std::wstring known;
    for (const std::wstring& candidate : candidates) {
        if (!IsTextFaceInstalled(candidate))
            continue;
        const GdiFace matched = MatchFace(dc, FontRequest(candidate.c_str(), 16), text);
        if (matched.coversText && lstrcmpiW(matched.family.c_str(), candidate.c_str()) == 0)
            return candidate;
        if (known.empty())
            known = candidate;
    }
    return known.empty() ? FirstInstalledFamily() : known;
}

// A font and the family it was made from: Wine's GDI+ keeps a pointer to the
// family in the font, so the family must outlive it.
struct LineFont {
    UniqueGdipFontFamily family;
    UniqueGdipFont font;  // after the family: deleted first
};

LineFont MakeFont(const std::wstring& face, int pixels, bool bold)
{
    LineFont made;
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::GpFont* font = nullptr;
    if (GdipCreateFontFamilyFromName(face.c_str(), nullptr, &family) == Gdiplus::Ok) {
        made.family.reset(family);
        GdipCreateFont(family, static_cast<Gdiplus::REAL>(pixels),
                       bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, &font);
        made.font.reset(font);
    }
    return made;
}

float TextWidth(Gdiplus::GpGraphics* graphics, const std::wstring& text, Gdiplus::GpFont* font,
                Gdiplus::GpStringFormat* format)
{
    const Gdiplus::RectF unbounded(0, 0, 100000.0f, 100000.0f);
    Gdiplus::RectF bounds;
    GdipMeasureString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &unbounded, format, &bounds,
                      nullptr, nullptr);
    return bounds.Width;
}

// The longest start of `text` that fits `width` with "…" after it, never
// cutting a surrogate pair.
std::wstring Ellipsized(Gdiplus::GpGraphics* graphics, const std::wstring& text, Gdiplus::GpFont* font,
                        Gdiplus::GpStringFormat* format, float width)
{
    if (TextWidth(graphics, text, font, format) <= width)
        return text;
    size_t fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        size_t middle = (fits + tooLong) / 2;
        if (IS_LOW_SURROGATE(text[middle]))
            --middle;
        if (middle <= fits)
            break;
        const bool fit = TextWidth(graphics, text.substr(0, middle) + ELLIPSIS, font, format) <= width;
        (fit ? fits : tooLong) = middle;
    }
    return text.substr(0, fits) + ELLIPSIS;
}

// In window pixels. Values far off any screen are held where no sum of two
// overflows; the window cuts the box down anyway.
RECT ScaledBox(const ImageRect& box)
{
    const auto scaled = [](int length) { return ScaleToFrame(std::max(-FAR_OFF, std::min(FAR_OFF, length))); };
    const int x = scaled(box.x), y = scaled(box.y);
    return RECT{x, y, x + scaled(box.width), y + scaled(box.height)};
}

Gdiplus::ARGB Argb(uint32_t color)
{
    return static_cast<Gdiplus::ARGB>(color);
}

void DrawLine(Gdiplus::GpGraphics* graphics, HDC dc, const TextLineStyle& line, const RECT& box)
{
    const std::wstring text = ExpandTextFormat(line.format, displayState.nowPlaying);
    if (text.empty())
        return;
    const LineFont lineFont = MakeFont(ChooseFace(dc, line.font, text), ScaleToFrame(line.size), line.bold);
    Gdiplus::GpFont* font = lineFont.font.get();
    Gdiplus::GpStringFormat* rawFormat = nullptr;
    GdipCreateStringFormat(Gdiplus::StringFormatFlagsNoWrap, LANG_NEUTRAL, &rawFormat);
    const UniqueGdipStringFormat format(rawFormat);
    if (!font || !format)
        return;
    constexpr Gdiplus::StringAlignment ALIGNMENTS[] = {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter,
                                                       Gdiplus::StringAlignmentFar};
    GdipSetStringFormatAlign(format.get(), ALIGNMENTS[static_cast<int>(line.align)]);
    GdipSetStringFormatLineAlign(format.get(), Gdiplus::StringAlignmentCenter);
    const Gdiplus::RectF layout(static_cast<float>(box.left), static_cast<float>(box.top),
                                static_cast<float>(box.right - box.left), static_cast<float>(box.bottom - box.top));
    const std::wstring shown = Ellipsized(graphics, text, font, format.get(), layout.Width);
    GdipSetClipRectI(graphics, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     Gdiplus::CombineModeReplace);
    const auto draw = [&](uint32_t color, float offset) {
        Gdiplus::GpSolidFill* rawBrush = nullptr;
        GdipCreateSolidFill(Argb(color), &rawBrush);
        const UniqueGdipBrush brush(rawBrush);
        const Gdiplus::RectF at(layout.X + offset, layout.Y + offset, layout.Width, layout.Height);
        if (brush)
            GdipDrawString(graphics, shown.c_str(), static_cast<INT>(shown.size()), font, &at, format.get(),
                           brush.get());
    };
    if (line.shadow)
        draw(line.shadowColor, static_cast<float>(ScaleToFrame(1)));
    draw(line.color, 0);
}

// Draws every line into premultiplied pixels over `area`, which holds the boxes.
void DrawLines(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    drawn.pixels.assign(static_cast<size_t>(width) * height, 0);
    Gdiplus::GpBitmap* rawBitmap = nullptr;
    GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(drawn.pixels.data()), &rawBitmap);
    const UniqueGdipBitmap bitmap(rawBitmap);
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    if (!bitmap || GdipGetImageGraphicsContext(bitmap.get(), &rawGraphics) != Gdiplus::Ok)
        return;
    const UniqueGdipGraphics graphics(rawGraphics);
    // Antialiased with its alpha: ClearType's coloured fringes assume an opaque background.
    GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintAntiAliasGridFit);
    GdipTranslateWorldTransform(graphics.get(), static_cast<float>(-area.left), static_cast<float>(-area.top),
                                Gdiplus::MatrixOrderPrepend);
    const UniqueMemoryDC dc(CreateCompatibleDC(NULL));
    for (const TextLineStyle& line : lines) {
        RECT box = ScaledBox(line.box);
        if (IntersectRect(&box, &box, &area))
            DrawLine(graphics.get(), dc.get(), line, box);
    }
}

}  // namespace

void LoadTextLayer(const wchar_t* path)
{
    ReleaseTextLayer();
    lines = path ? ReadThemeTextLines(path) : std::vector<TextLineStyle>();
}

void ReleaseTextLayer()
{
    drawn = DrawnLines();
}

void BlendTextLayer(const FramePixels& target)
{
    if (lines.empty())
        return;
    if (!drawn.valid || !(drawn.track == displayState.nowPlaying) || drawn.dpi != FrameDpi() ||
        drawn.width != target.width || drawn.height != target.height) {
        drawn = DrawnLines();
        const RECT window = {0, 0, target.width, target.height};
        for (const TextLineStyle& line : lines) {
            RECT box = ScaledBox(line.box);
            if (IntersectRect(&box, &box, &window))
                UnionRect(&drawn.area, &drawn.area, &box);
        }
        if (!IsRectEmpty(&drawn.area))
            DrawLines(drawn.area);
        drawn.valid = true;
        drawn.track = displayState.nowPlaying;
        drawn.dpi = FrameDpi();
        drawn.width = target.width;
        drawn.height = target.height;
    }
    if (!drawn.pixels.empty())
        BlendOver(target, drawn.pixels.data(), drawn.area.right - drawn.area.left, drawn.area.bottom - drawn.area.top,
                  drawn.area.left, drawn.area.top);
}

std::wstring TextFaceFor(const std::wstring& face, const std::wstring& text)
{
    const UniqueMemoryDC dc(CreateCompatibleDC(NULL));
    return ChooseFace(dc.get(), face, text);
}

bool IsTextFaceInstalled(const std::wstring& name)
{
    Gdiplus::GpFontFamily* family = nullptr;
    const bool found = !name.empty() && GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) == Gdiplus::Ok;
    UniqueGdipFontFamily owned(family);
    return found;
}
