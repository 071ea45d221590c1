#include "cover/track_file.h"

bool TrackFile::Open(const wchar_t* path)
{
    file.reset(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return false;
    length = static_cast<uint64_t>(size.QuadPart);
    return true;
}

size_t TrackFile::Read(uint64_t position, void* out, size_t count) const
{
    if (!file || position >= length || count > MAXDWORD)
        return 0;
    // The offset rides in the OVERLAPPED record, so no shared file pointer moves.
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD got = 0;
    if (!ReadFile(file.get(), out, static_cast<DWORD>(count), &got, &at))
        return 0;
    return got;
}
