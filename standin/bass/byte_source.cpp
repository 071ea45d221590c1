#include "byte_source.h"

bool ByteSource::OpenFile(const void* path, bool unicodePath, uint64_t offset, uint64_t rangeLength)
{
    file.reset(unicodePath ? CreateFileW(static_cast<const wchar_t*>(path), GENERIC_READ, FILE_SHARE_READ, NULL,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL)
                           : CreateFileA(static_cast<const char*>(path), GENERIC_READ, FILE_SHARE_READ, NULL,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || offset > static_cast<uint64_t>(size.QuadPart))
        return false;
    uint64_t rest = static_cast<uint64_t>(size.QuadPart) - offset;
    start = offset;
    length = (rangeLength == 0 || rangeLength > rest) ? rest : rangeLength;
    return true;
}

bool ByteSource::OpenMemory(const void* block, uint64_t offset, uint64_t blockLength)
{
    if (!block || offset > blockLength)
        return false;
    memory = static_cast<const uint8_t*>(block);
    start = offset;
    length = blockLength - offset;
    return true;
}

size_t ByteSource::Read(uint64_t position, void* out, size_t count) const
{
    if (position >= length)
        return 0;
    if (count > length - position)
        count = static_cast<size_t>(length - position);
    if (memory) {
        CopyMemory(out, memory + start + position, count);
        return count;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(start + position);
    DWORD got = 0;
    if (!SetFilePointerEx(file.get(), at, NULL, FILE_BEGIN) || !ReadFile(file.get(), out, static_cast<DWORD>(count), &got, NULL))
        return 0;
    return got;
}
