#include "window/settings_encoding.h"
#include <string.h>
#include "state/format_path.h"

namespace {

// Settings files are a few hundred bytes; anything past this is not ours to rewrite.
constexpr DWORD LARGEST_CONVERTED_FILE = 1 << 20;

const BYTE UTF16LE_MARK[] = {0xFF, 0xFE};
const BYTE UTF16BE_MARK[] = {0xFE, 0xFF};
const BYTE UTF8_MARK[] = {0xEF, 0xBB, 0xBF};

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

bool WriteWholeFile(const wchar_t* path, const void* head, DWORD headLength, const void* body, DWORD bodyLength)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0, bodyWritten = 0;
    bool ok = WriteFile(file, head, headLength, &written, NULL) && written == headLength &&
              WriteFile(file, body, bodyLength, &bodyWritten, NULL) && bodyWritten == bodyLength;
    return CloseHandle(file) && ok;
}

// The text of `bytes` in the code page the profile functions read it with,
// as UTF-16 beside the file, then swapped in whole: a failure midway leaves
// the old file as it was.
bool RewriteAsUtf16(const wchar_t* path, const BYTE* bytes, DWORD length)
{
    UINT codePage = CP_ACP;
    if (StartsWith(bytes, length, UTF8_MARK, sizeof UTF8_MARK)) {
        codePage = CP_UTF8;
        bytes += sizeof UTF8_MARK;
        length -= sizeof UTF8_MARK;
    }
    int characters = length ? MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes),
                                                  static_cast<int>(length), NULL, 0)
                            : 0;
    wchar_t* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (characters + 1) * sizeof(wchar_t)));
    if (!text)
        return false;
    if (characters)
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(length), text,
                            characters);
    wchar_t staged[MAX_PATH];
    bool ok = FormatPath(staged, L"%s.new", path) &&
              WriteWholeFile(staged, UTF16LE_MARK, sizeof UTF16LE_MARK, text, characters * sizeof(wchar_t));
    HeapFree(GetProcessHeap(), 0, text);
    if (ok && !MoveFileExW(staged, path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(staged);
        ok = false;
    }
    return ok;
}

}  // namespace

bool PrepareFileFor(const wchar_t* path, const wchar_t* text)
{
    if (FitsAnsiCodePage(text))
        return true;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    BYTE* bytes = NULL;
    DWORD read = 0;
    if (sizeHigh == 0 && size <= LARGEST_CONVERTED_FILE) {
        bytes = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size ? size : 1));
        if (bytes && !ReadFile(file, bytes, size, &read, NULL))
            read = 0;
    }
    CloseHandle(file);
    bool ok = false;
    if (bytes && read == size) {
        bool unicode = StartsWith(bytes, read, UTF16LE_MARK, sizeof UTF16LE_MARK) ||
                       StartsWith(bytes, read, UTF16BE_MARK, sizeof UTF16BE_MARK);
        ok = unicode || RewriteAsUtf16(path, bytes, read);
    }
    if (bytes)
        HeapFree(GetProcessHeap(), 0, bytes);
    return ok;
}
