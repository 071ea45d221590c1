#include "support/mp3_files.h"
#include <windows.h>

void Append(Bytes* bytes, const Bytes& more)
{
    bytes->insert(bytes->end(), more.begin(), more.end());
}

Bytes BigEndian32(size_t value, unsigned bitsPerByte)
{
    unsigned mask = (1u << bitsPerByte) - 1;
    return {static_cast<unsigned char>((value >> (3 * bitsPerByte)) & mask),
            static_cast<unsigned char>((value >> (2 * bitsPerByte)) & mask),
            static_cast<unsigned char>((value >> bitsPerByte) & mask), static_cast<unsigned char>(value & mask)};
}

Bytes PictureFrame(const Bytes& png)
{
    Bytes body = {0};  // Latin-1 text
    const char mime[] = "image/png";
    body.insert(body.end(), mime, mime + sizeof mime);
    Append(&body, {3, 0});  // front cover, empty description
    Append(&body, png);
    Bytes frame = {'A', 'P', 'I', 'C'};
    Append(&frame, BigEndian32(body.size(), 8));
    Append(&frame, {0, 0});
    Append(&frame, body);
    return frame;
}

Bytes SmallMp3(const Bytes& frames)
{
    Bytes body = frames;
    body.resize(body.size() + 16, 0);  // padding
    Bytes bytes = {'I', 'D', '3', 3, 0, 0};
    Append(&bytes, BigEndian32(body.size(), 7));
    Append(&bytes, body);
    for (int frame = 0; frame < 2; ++frame) {
        Append(&bytes, {0xFF, 0xFB, 0x90, 0x00});
        bytes.resize(bytes.size() + 417 - 4, 0);
    }
    return bytes;
}

