#include "tools/theme_kit/theme_pictures.h"
#include <string.h>
#include "tools/theme_kit/console.h"
#include "tools/theme_kit/kit_files.h"
#include "tools/theme_kit/limits.h"
#include "render/theme_files.h"

namespace {

bool IsBackground(const wchar_t* name)
{
    return wcscmp(name, THEME_BACKGROUND_FILE) == 0;
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
    picture.present = outcome != ReadOutcome::Missing;
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
    picture.headerKnown = ReadPictureHeader(bytes.data(), bytes.size(), &picture.header);
    const PictureHeader& header = picture.header;
    if (picture.headerKnown &&
        (header.width > THEME_PICTURE_SIDE_LIMIT || header.height > THEME_PICTURE_SIDE_LIMIT)) {
        picture.tooLarge = true;
        const unsigned long long decoded = 4ull * header.width * header.height;
        report.Error(name,
                     SizeText(header.width, header.height) + L" pixels, above the " +
                         SizeText(THEME_PICTURE_SIDE_LIMIT, THEME_PICTURE_SIDE_LIMIT) + L" the kit decodes",
                     L"Each decoded copy takes " + Megabytes(decoded) +
                         L", so the plug-in most likely fails to draw it and shows nothing",
                     L"Make it the window's real size");
    } else if (picture.headerKnown && wcscmp(header.format, L"PNG") != 0) {
        report.Warning(name, std::wstring(L"holds a ") + header.format + L" picture, not a PNG",
                       std::wstring(L"The decoder goes by the content, so it shows") +
                           (wcscmp(header.format, L"JPEG") == 0 ? L", but without any transparency" : L""),
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
    PictureHeader header;
    if (ReadPictureHeader(bytes->data(), bytes->size(), &header) &&
        (header.width > COVER_SIDE_LIMIT || header.height > COVER_SIDE_LIMIT)) {
        PrintErrorLine(what + L": " + SizeText(header.width, header.height) + L" pixels, above the " +
                       SizeText(COVER_SIDE_LIMIT, COVER_SIDE_LIMIT) + L" the kit decodes");
        return false;
    }
    return true;
}
