#include "window/settings_encoding.h"
#include <string.h>
#include "state/format_path.h"
#include "state/owners.h"

namespace {

// Settings files are a few hundred bytes; anything past this is not ours to rewrite.
constexpr DWORD LARGEST_CONVERTED_FILE = 1 << 20;
// What the rewritten file takes over from the one it replaces; read-only is
// never replaced, and the rest cannot be given at creation.
constexpr DWORD KEPT_ATTRIBUTES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

const BYTE UTF16LE_MARK[] = {0xFF, 0xFE};
const BYTE UTF16BE_MARK[] = {0xFE, 0xFF};
const BYTE UTF8_MARK[] = {0xEF, 0xBB, 0xBF};

struct FileContents {
    UniqueHeapBlock bytes;
    DWORD length = 0;
    DWORD attributes = 0;
};

bool StartsWith(const BYTE* bytes, DWORD length, const BYTE* mark, DWORD markLength)
{
    return length >= markLength && memcmp(bytes, mark, markLength) == 0;
}

bool FitsAnsiCodePage(const wchar_t* text)
{
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, NULL, 0, NULL, &lost);
    return !lost;
}

bool ReadWholeFile(const wchar_t* path, FileContents& contents)
{
    UniqueHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info) || info.nFileSizeHigh != 0 ||
        info.nFileSizeLow > LARGEST_CONVERTED_FILE)
        return false;
    contents.attributes = info.dwFileAttributes;
    contents.bytes.reset(HeapAlloc(GetProcessHeap(), 0, info.nFileSizeLow ? info.nFileSizeLow : 1));
    return contents.bytes && ReadFile(file.get(), contents.bytes.get(), info.nFileSizeLow, &contents.length, NULL) &&
           contents.length == info.nFileSizeLow;
}

bool WriteAll(HANDLE file, const void* data, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, data, length, &written, NULL) && written == length;
}

// The UTF-16 text goes to a file beside the old one, through to the disk, and
// then takes the old one's place in one rename: a failure at any step leaves
// the old file as it was and no staged file behind.
bool ReplaceWithUtf16(const wchar_t* path, DWORD attributes, const wchar_t* text, DWORD characters)
{
    wchar_t staged[MAX_PATH];
    if (!FormatPath(staged, L"%s.new", path))
        return false;
    DWORD kept = attributes & KEPT_ATTRIBUTES;
    DWORD created = kept ? kept : FILE_ATTRIBUTE_NORMAL;
    // Declared first, so the handle is closed before the staged file is deleted.
    UniqueTemporaryFile stagedFile;
    UniqueHandle file(CreateFileW(staged, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, created, NULL));
    if (!file)
        return false;
    stagedFile.reset(staged);
    if (!WriteAll(file.get(), UTF16LE_MARK, sizeof UTF16LE_MARK) ||
        !WriteAll(file.get(), text, characters * sizeof(wchar_t)) || !FlushFileBuffers(file.get()))
        return false;
    file.reset();
    if (!MoveFileExW(staged, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    stagedFile.release();
    return true;
}

// The text of the file in the code page the profile functions read it with.
bool RewriteAsUtf16(const wchar_t* path, const FileContents& contents)
{
    const BYTE* bytes = static_cast<const BYTE*>(contents.bytes.get());
    DWORD length = contents.length;
    UINT codePage = CP_ACP;
    if (StartsWith(bytes, length, UTF8_MARK, sizeof UTF8_MARK)) {
        codePage = CP_UTF8;
        bytes += sizeof UTF8_MARK;
        length -= sizeof UTF8_MARK;
    }
    const char* eightBit = reinterpret_cast<const char*>(bytes);
    int characters = length ? MultiByteToWideChar(codePage, 0, eightBit, static_cast<int>(length), NULL, 0) : 0;
    if (length && characters <= 0)
        return false;
    UniqueHeapBlock text(HeapAlloc(GetProcessHeap(), 0, (characters + 1) * sizeof(wchar_t)));
    if (!text)
        return false;
    wchar_t* wide = static_cast<wchar_t*>(text.get());
    if (characters &&
        MultiByteToWideChar(codePage, 0, eightBit, static_cast<int>(length), wide, characters) != characters)
        return false;
    return ReplaceWithUtf16(path, contents.attributes, wide, static_cast<DWORD>(characters));
}

}  // namespace

bool PrepareFileFor(const wchar_t* path, const wchar_t* text)
{
    if (FitsAnsiCodePage(text))
        return true;
    FileContents contents;
    if (!ReadWholeFile(path, contents))
        return false;
    const BYTE* bytes = static_cast<const BYTE*>(contents.bytes.get());
    bool unicode = StartsWith(bytes, contents.length, UTF16LE_MARK, sizeof UTF16LE_MARK) ||
                   StartsWith(bytes, contents.length, UTF16BE_MARK, sizeof UTF16BE_MARK);
    // A read-only settings file is one its user wants left as it is (Windows
    // refuses to rename over it; Wine running as root would not).
    bool readOnly = (contents.attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return unicode || (!readOnly && RewriteAsUtf16(path, contents));
}
