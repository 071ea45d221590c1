#pragma once
#include <windows.h>
#include <stddef.h>

// Fills displayState.nowPlaying for the track at `path`: the text its tags
// hold (served by the audio library for the playing channel, else read from
// a local file's container), whatever the picture option says. Without a
// title the file name stands in, its extension left off.
void ReadNowPlayingText(const wchar_t* path, bool localFile, size_t readBound);
