#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string>

// The now-playing text a theme can show, as the track's tags give it: UTF-8,
// the first value of a field, at most LONGEST_TEXT_CHARACTERS characters,
// anything that does not decode replaced by U+FFFD. Pure functions over
// bytes, so they run in the plug-in, the tools and the fuzzers alike.
constexpr size_t LONGEST_TEXT_CHARACTERS = 255;

enum TextField { TITLE, ARTIST, ALBUM, TEXT_FIELD_COUNT };

struct TagText {
    std::string field[TEXT_FIELD_COUNT];

    // The first source to give a field keeps it; an empty value gives nothing.
    void Offer(TextField which, std::string value);
    bool Complete() const;
};

// The text up to its first terminator (or `length`), decoded and cut.
std::string TextFromLatin1(const uint8_t* bytes, size_t length);
std::string TextFromUtf8(const uint8_t* bytes, size_t length);
// UTF-16 in the given byte order unless a byte-order mark says otherwise.
std::string TextFromUtf16(const uint8_t* bytes, size_t length, bool bigEndian);

// The field a key names, compared without regard to ASCII case ("TITLE",
// "Artist", ...); false for any other key.
bool TextFieldNamed(const char* key, size_t keyLength, TextField* which);
