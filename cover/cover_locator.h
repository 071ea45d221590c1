#pragma once

// Replaces the cover with the current track's. In order: the Latin-1 APIC
// picture of an MP3; folder.jpg, cover.jpg, the first *.jpg; the other
// embedded pictures (UTF-16/UTF-8 APIC, FLAC, Vorbis, Opus, then MP4, ASF,
// WAV, AIFF and APEv2 read from the file itself); folder.png, cover.png, the
// first *.png. URLs get none. The track's now-playing text is read with it
// (none for a URL), and cleared with it.
void ReleaseCover();
void RefreshCover();
