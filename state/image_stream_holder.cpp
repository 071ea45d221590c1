#include "state/image_stream_holder.h"
#include <string.h>
#include <utility>
#include "state/block_stream.h"
#include "state/picture_limits.h"

namespace {

// A zero-byte copy is allowed: it stands for an empty picture.
PictureBuffer CopyOf(const void* bytes, DWORD size)
{
    if (size > 0 && !bytes)
        return PictureBuffer();
    PictureBuffer copy = PictureBuffer::Zeroed(size);
    if (copy.data())
        memcpy(copy.data(), bytes, size);
    return copy;
}

}  // namespace

int ImageStreamHolder::LoadFromFile(const wchar_t* path)
{
    // A second picture would orphan the first one's stream.
    if (stream)
        return 0;
    // Share mode 0: a picture someone else holds open is not read half-written.
    UniqueHandle file(CreateFileW(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return 0;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file.get(), &sizeHigh);
    // An oversized picture is no picture: it is neither read nor decoded, and
    // the size's high word covers files of 4 GiB and more.
    if (sizeHigh != 0 || size > LARGEST_PICTURE_BYTES)
        return 0;
    PictureBuffer bytes = PictureBuffer::Zeroed(size);
    if (!bytes.data())
        return 0;
    // A short read leaves the zero-filled tail; the decoder rejects it later.
    DWORD read = 0;
    if (size > 0)
        ReadFile(file.get(), bytes.data(), size, &read, NULL);
    file.reset();
    return AdoptPicture(std::move(bytes));
}

int ImageStreamHolder::LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    if (stream)
        return 0;
    HRSRC resource = FindResourceW(module, name, type);
    if (!resource)
        return 0;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return 0;
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return 0;
    PictureBuffer copy = CopyOf(bytes, SizeofResource(module, resource));
    return copy.data() ? AdoptPicture(std::move(copy)) : 0;
}

int ImageStreamHolder::LoadFromMemory(const void* bytes, uint32_t length)
{
    if (stream)
        return 0;
    PictureBuffer copy = CopyOf(bytes, length);
    return copy.data() ? AdoptPicture(std::move(copy)) : 0;
}

int ImageStreamHolder::AdoptPicture(PictureBuffer picture)
{
    if (!picture.data() || stream)
        return 0;
    stream = CreateBlockStream(std::move(picture));
    if (!stream)
        return 0;
    ++loadSerial;
    return 1;
}
