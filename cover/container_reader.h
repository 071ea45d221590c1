#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string>
#include "cover/byte_reader.h"
#include "cover/tag_text.h"
#include "state/picture_buffer.h"

// One container whose pictures the audio library does not serve, read from
// the track's file itself. Every reader is a pure function over a ByteReader:
// it checks each size against what remains of its parent and of the file
// before using it, seeks over what it does not need, and reads no picture
// larger than LARGEST_PICTURE_BYTES.
struct ContainerReader {
    const char* name;
    // Whether the file's first bytes (`length` of them, at most
    // CONTAINER_HEAD_BYTES) are this container's signature.
    bool (*Recognises)(const uint8_t* head, size_t length);
    // Copies the container's cover into the empty `picture`; 1 for a picture
    // of at least one byte, else 0 with `picture` left empty.
    int (*ReadCover)(const ByteReader& file, PictureBuffer* picture);
    // Offers the container's title, artist and album to `text`.
    void (*ReadText)(const ByteReader& file, TagText* text);
};

constexpr size_t CONTAINER_HEAD_BYTES = 16;

// Copies `length` bytes at `offset` into the empty `picture` when they are
// between one byte and LARGEST_PICTURE_BYTES and lie inside the file; the
// size is checked before anything is read.
int ReadPictureBytes(const ByteReader& file, uint64_t offset, uint64_t length, PictureBuffer* picture);

enum class StoredText { UTF8, UTF16LE };
// The text stored in `length` bytes at `offset` (see tag_text.h); no more is
// read than the longest text can take.
std::string ReadTextBytes(const ByteReader& file, uint64_t offset, uint64_t length, StoredText form);
