#pragma once
#include <windows.h>
#include "state/picture_buffer.h"

// Copies the picture of the first usable APIC frame of the channel's ID3v2 tag
// (through the bound audio library) into `picture`, which the caller set to
// {NULL, 0}. Returns 1 for a picture of at least one byte, else 0. Whenever
// picture->data is non-null afterwards, the caller frees it with HeapFree on
// the process heap.
int ExtractEmbeddedPicture(DWORD channel, PictureBuffer* picture);
// Test seam: the same without the channel-type check.
int ExtractApicFromTag(DWORD channel, PictureBuffer* picture);
