#pragma once
#include "cover/container_reader.h"

// An APEv2 tag at the end of a file (WavPack, Monkey's Audio, Musepack,
// TrueAudio, MP3), or before a 128-byte ID3v1 tag: the binary item "Cover Art
// (Front)", else the first item whose key begins with "Cover Art", keys
// compared without case. Its value is a file name, a zero byte, the picture
// (or, as mpcenc writes it, a JPEG or PNG picture alone).
extern const ContainerReader APE_READER;
