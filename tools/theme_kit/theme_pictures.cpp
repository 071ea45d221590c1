#include "tools/theme_kit/theme_pictures.h"
#include "helpers/text.h"
#include "tools/theme_kit/kit_files.h"
#include "render/theme_files.h"
#include "state/picture_limits.h"

namespace {

// Above this the kit does not read a picture file at all.
constexpr size_t PICTURE_FILE_LIMIT = 64u << 20;
const std::wstring PICTURE_FILE_LIMIT_TEXT = std::to_wstring(PICTURE_FILE_LIMIT >> 20) + L" MB";

// Known and of some size, yet refused by the plug-in's gate: too many pixels.
bool TooManyPixels(const PictureHeader& header)
{
    return header.format != PictureFormat::NONE && header.width > 0 && header.height > 0 &&
           !IsDecodablePicture(header);
}

std::wstring AboveTheLimit(const PictureHeader& header)
{
    return SizeText(header.width, header.height) + L" pixels, above the " +
           SizeText(LARGEST_PICTURE_SIDE, LARGEST_PICTURE_SIDE) + L" the plug-in decodes";
}

// Why the plug-in's gate lets no decoder see it, in the gate's own terms.
std::wstring RefusedFormat(const PictureHeader& header)
{
    return L"does not decode as a picture: it " +
           (header.refusedFormat ? L"holds a " + WideOf(header.refusedFormat) +
                                       L" picture, a format the plug-in refuses (it decodes JPEG, PNG, GIF and BMP)"
                                 : L"starts with no JPEG, PNG, GIF or BMP header the plug-in can read");
}

}  // namespace

PictureFile InspectThemePicture(const std::wstring& folder, const wchar_t* name, Report& report)
{
    PictureFile picture;
    const bool background = wcscmp(name, THEME_BACKGROUND_FILE) == 0;
    const std::wstring withoutIt = background ? L"The plug-in shows the built-in theme instead and forgets the choice"
                                              : L"The plug-in draws the frame without an overlay";
    std::vector<unsigned char> bytes;
    const ReadOutcome outcome = ReadFileBytes(folder + L"\\" + name, PICTURE_FILE_LIMIT, &bytes);
    picture.tooLarge = outcome == ReadOutcome::TooLarge;
    if (outcome == ReadOutcome::Missing && background)
        report.Error(name, L"missing", withoutIt,
                     L"Add a PNG with an alpha channel: its size is the window's size, its transparency the "
                     L"window's shape");
    else if (outcome == ReadOutcome::Unreadable)
        report.Error(name, L"cannot be read (a folder, or a file locked by another program)", withoutIt,
                     L"Make it a PNG file that others may read");
    else if (picture.tooLarge)
        report.Error(name, L"a file larger than " + PICTURE_FILE_LIMIT_TEXT + L", which the kit does not read",
                     L"The plug-in holds it in memory and decodes it again at every cover change",
                     L"Save it at the window's size");
    if (outcome != ReadOutcome::Read)
        return picture;
    const PictureHeader& header = picture.header = ReadPictureHeader(bytes.data(), bytes.size());
    picture.tooLarge = TooManyPixels(header);
    picture.passesGate = IsDecodablePicture(header);
    if (picture.tooLarge)
        report.Error(name, AboveTheLimit(header), withoutIt, L"Make it the window's real size");
    else if (header.format == PictureFormat::NONE)
        report.Error(name, RefusedFormat(header), withoutIt, L"Save it as PNG");
    else if (header.format != PictureFormat::PNG)
        report.Warning(name, L"holds a " + WideOf(PictureFormatName(header)) + L" picture, not a PNG",
                       std::wstring(L"The decoder goes by the content, so it shows") +
                           (header.format == PictureFormat::JPEG ? L", but without any transparency" : L""),
                       L"Save it as PNG");
    return picture;
}

bool ReadPictureArgument(const std::wstring& path, const wchar_t* role, std::vector<unsigned char>* bytes)
{
    const std::wstring what = std::wstring(role) + L" " + Quote(path) + L": ";
    const ReadOutcome outcome = ReadFileBytes(path, PICTURE_FILE_LIMIT, bytes);
    const PictureHeader header = ReadPictureHeader(bytes->data(), bytes->size());
    if (outcome == ReadOutcome::Missing)
        PrintErrorLine(what + L"no such file");
    else if (outcome == ReadOutcome::TooLarge)
        PrintErrorLine(what + L"larger than " + PICTURE_FILE_LIMIT_TEXT + L"; the kit does not read it");
    else if (outcome == ReadOutcome::Unreadable)
        PrintErrorLine(what + L"cannot be read");
    else if (TooManyPixels(header))
        PrintErrorLine(what + AboveTheLimit(header));
    return outcome == ReadOutcome::Read && !TooManyPixels(header);
}
