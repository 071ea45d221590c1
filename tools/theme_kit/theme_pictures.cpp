#include "tools/theme_kit/theme_pictures.h"
#include "helpers/text.h"
#include "tools/theme_kit/console.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/limits.h"
#include "render/theme_files.h"
#include "state/picture_limits.h"

namespace {

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

bool IsBackground(const wchar_t* name)
{
    return wcscmp(name, THEME_BACKGROUND_FILE) == 0;
}

// Why the plug-in's gate lets no decoder see it, in the gate's own terms.
std::wstring RefusedFormat(const PictureHeader& header)
{
    if (header.refusedFormat)
        return L"does not decode as a picture: it holds a " + WideOf(header.refusedFormat) +
               L" picture, a format the plug-in refuses (it decodes JPEG, PNG, GIF and BMP)";
    return L"does not decode as a picture: it starts with no JPEG, PNG, GIF or BMP header the plug-in can read";
}

PictureHeader HeaderOf(const std::vector<unsigned char>& bytes)
{
    return ReadPictureHeader(bytes.data(), bytes.size());
}

std::wstring WithoutIt(const wchar_t* name)
{
    return IsBackground(name) ? L"The plug-in shows the built-in theme instead and forgets the choice"
                              : L"The plug-in draws the frame without an overlay";
}

std::wstring Megabytes(unsigned long long bytes)
{
    return std::to_wstring((bytes + (1u << 20) - 1) >> 20) + L" MB";
}

}  // namespace

PictureFile InspectThemePicture(const std::wstring& folder, const wchar_t* name, Report& report)
{
    PictureFile picture;
    picture.name = name;
    std::vector<unsigned char> bytes;
    const ReadOutcome outcome = ReadFileBytes(folder + L"\\" + name, PICTURE_FILE_LIMIT, &bytes);
    if (outcome == ReadOutcome::Missing) {
        if (IsBackground(name))
            report.Error(name, L"missing", WithoutIt(name),
                         L"Add a PNG with an alpha channel: its size is the window's size, its transparency the "
                         L"window's shape");
        return picture;
    }
    if (outcome == ReadOutcome::Unreadable) {
        report.Error(name, L"cannot be read (a folder, or a file locked by another program)", WithoutIt(name),
                     L"Make it a PNG file that others may read");
        return picture;
    }
    if (outcome == ReadOutcome::TooLarge) {
        picture.tooLarge = true;
        report.Error(name, L"a file larger than " + Megabytes(PICTURE_FILE_LIMIT) + L", which the kit does not read",
                     L"The plug-in holds it in memory and decodes it again at every cover change",
                     L"Save it at the window's size");
        return picture;
    }
    picture.readable = true;
    picture.header = HeaderOf(bytes);
    const PictureHeader& header = picture.header;
    if (TooManyPixels(header)) {
        picture.tooLarge = true;
        report.Error(name, AboveTheLimit(header), WithoutIt(name), L"Make it the window's real size");
    } else if (header.format == PictureFormat::NONE) {
        report.Error(name, RefusedFormat(header), WithoutIt(name), L"Save it as PNG");
    } else if (header.format != PictureFormat::PNG) {
        report.Warning(name, L"holds a " + WideOf(PictureFormatName(header)) + L" picture, not a PNG",
                       std::wstring(L"The decoder goes by the content, so it shows") +
                           (header.format == PictureFormat::JPEG ? L", but without any transparency" : L""),
                       L"Save it as PNG");
    }
    return picture;
}

bool ReadPictureArgument(const std::wstring& path, const wchar_t* role, std::vector<unsigned char>* bytes)
{
    const std::wstring what = std::wstring(role) + L" " + Quote(path);
    switch (ReadFileBytes(path, PICTURE_FILE_LIMIT, bytes)) {
    case ReadOutcome::Read:
        break;
    case ReadOutcome::Missing:
        PrintErrorLine(what + L": no such file");
        return false;
    case ReadOutcome::TooLarge:
        PrintErrorLine(what + L": larger than " + Megabytes(PICTURE_FILE_LIMIT) + L"; the kit does not read it");
        return false;
    case ReadOutcome::Unreadable:
        PrintErrorLine(what + L": cannot be read");
        return false;
    }
    const PictureHeader header = HeaderOf(*bytes);
    if (TooManyPixels(header)) {
        PrintErrorLine(what + L": " + AboveTheLimit(header));
        return false;
    }
    return true;
}
