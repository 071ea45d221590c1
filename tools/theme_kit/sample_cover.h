#pragma once
#include <vector>

// The kit's own sample cover, 300 x 300, encoded as PNG.
std::vector<unsigned char> SampleCoverPng();
