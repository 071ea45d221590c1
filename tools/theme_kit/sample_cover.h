#pragma once
#include <vector>
#include "state/now_playing.h"

// The kit's own sample cover, 300 x 300, as the PNG it carries.
std::vector<unsigned char> SampleCoverPng();
// The kit's sample track: a short Latin title and a Japanese artist, so a
// theme's lines are seen in both scripts.
NowPlaying SampleTrack();
