#pragma once
// Small MP3 files made at test time, for the stand-in audio library.
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

void Append(Bytes* bytes, const Bytes& more);
// Four bytes of `value`, most significant first, `bitsPerByte` bits in each
// (7 for syncsafe sizes).
Bytes BigEndian32(size_t value, unsigned bitsPerByte);
// An ID3v2.3 "APIC" frame carrying `png` as a front cover.
Bytes PictureFrame(const Bytes& png);
// Two frames of MPEG-1 layer III behind an ID3v2.3 tag holding `frames`:
// enough for the stand-in library to open an MP3 stream.
Bytes SmallMp3(const Bytes& frames = Bytes());
