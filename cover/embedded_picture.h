#pragma once
#include <windows.h>
#include <stdint.h>
#include "cover/embedded_selection.h"
#include "state/picture_buffer.h"

// Copies the step's embedded picture of the channel (through the bound audio
// library) into the empty `picture`. `readBound` is the track file's size for
// a local file, else SIZE_MAX. Returns 1 for a picture of at least one byte,
// else 0.
int ExtractEmbeddedPicture(DWORD channel, PictureBuffer* picture, EmbeddedStep step = EmbeddedStep::LATIN1_APIC,
                           size_t readBound = SIZE_MAX);
// What the audio library serves for the channel; false when it is not bound.
bool ChannelTagServer(DWORD channel, size_t readBound, TagServer* server);
// Test seam: the Latin-1 APIC picture without the channel-type check.
int ExtractApicFromTag(DWORD channel, PictureBuffer* picture);
