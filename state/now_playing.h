#pragma once
#include <string>

// What a theme's text lines show of the current track: its title, artist and
// album, empty when unknown. Cleared with the cover.
struct NowPlaying {
    std::wstring title, artist, album;

    bool operator==(const NowPlaying& other) const
    {
        return title == other.title && artist == other.artist && album == other.album;
    }
};
