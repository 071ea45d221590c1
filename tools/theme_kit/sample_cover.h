#pragma once
#include <string>
#include "state/now_playing.h"

// Puts the picture file at `path` in the plug-in's cover holder, or, when the
// path is empty, the kit's own 300 x 300 sample cover; false when it is
// refused (with a message on standard error for a file).
bool HoldCover(const std::wstring& path);
// The kit's sample track: a short Latin title and a Japanese artist, so a
// theme's lines are seen in both scripts.
NowPlaying SampleTrack();
