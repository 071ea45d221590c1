#pragma once

// Binds BASS_GetVersion, BASS_ChannelGetInfo and BASS_ChannelGetTags in the
// host's already loaded bass.dll. Returns 1 when all three are bound, else 0;
// slots bound before a missing name stay bound. Takes no library reference.
int BindAudioLibrary();
