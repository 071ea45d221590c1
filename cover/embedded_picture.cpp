#include "cover/embedded_picture.h"
#include "cover/bass_interface.h"
#include "cover/id3v2.h"
#include "state/display_state.h"

namespace {

const char* ServeChannelTags(const void* channel, uint32_t tagType)
{
    return displayState.AudioLibrary.BASS_ChannelGetTags(static_cast<DWORD>(reinterpret_cast<uintptr_t>(channel)),
                                                         tagType);
}

}  // namespace

bool ChannelTagServer(DWORD channel, size_t readBound, TagServer* server)
{
    const AudioEntryPoints& audio = displayState.AudioLibrary;
    if (!audio.BASS_ChannelGetInfo || !audio.BASS_ChannelGetTags)
        return false;
    // A failed call leaves the record zero, which no stream type matches.
    BassChannelInfo info;
    ZeroMemory(&info, sizeof(info));
    audio.BASS_ChannelGetInfo(channel, &info);
    *server = {info.ctype, ServeChannelTags, reinterpret_cast<const void*>(static_cast<uintptr_t>(channel)),
               readBound};
    return true;
}

int ExtractEmbeddedPicture(DWORD channel, PictureBuffer* picture, EmbeddedStep step, size_t readBound)
{
    TagServer server;
    return ChannelTagServer(channel, readBound, &server) ? SelectEmbeddedPicture(server, step, picture) : 0;
}

int ExtractApicFromTag(DWORD channel, PictureBuffer* picture)
{
    if (!displayState.AudioLibrary.BASS_ChannelGetTags)
        return 0;
    return ExtractApicFromServedTag(
        reinterpret_cast<const uint8_t*>(displayState.AudioLibrary.BASS_ChannelGetTags(channel, BASS_TAG_ID3V2)),
        picture);
}
