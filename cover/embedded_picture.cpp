#include "cover/embedded_picture.h"
#include "cover/id3v2.h"
#include "state/display_state.h"

int ExtractEmbeddedPicture(DWORD channel, PictureBuffer* picture)
{
    const AudioEntryPoints& audio = displayState.AudioLibrary;
    if (!audio.BASS_ChannelGetInfo || !audio.BASS_ChannelGetTags)
        return 0;
    // A failed call leaves the record zero, which no stream type matches.
    BassChannelInfo info;
    ZeroMemory(&info, sizeof(info));
    audio.BASS_ChannelGetInfo(channel, &info);
    if (info.ctype != BASS_CTYPE_STREAM_MP3)
        return 0;
    return ExtractApicFromTag(channel, picture);
}

int ExtractApicFromTag(DWORD channel, PictureBuffer* picture)
{
    if (!displayState.AudioLibrary.BASS_ChannelGetTags)
        return 0;
    return ExtractApicFromServedTag(
        reinterpret_cast<const uint8_t*>(displayState.AudioLibrary.BASS_ChannelGetTags(channel, BASS_TAG_ID3V2)),
        picture);
}
