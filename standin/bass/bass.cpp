// Our stand-in for the host's audio library: it opens files only far enough to
// tell MPEG layer III audio from anything else and to serve the ID3v2 tag block.
#include <windows.h>
#include "cover/bass_interface.h"
#include "channel_table.h"
#include "byte_source.h"
#include "id3v2_block.h"
#include "mpeg_frames.h"

namespace {

constexpr DWORD BASS_VERSION = 0x02040000;

// Reads the tag block, clipped to the source, into a heap buffer; null when there is none.
char* ReadTagBlock(const ByteSource& source, uint64_t declared)
{
    uint64_t clipped = declared < source.Length() ? declared : source.Length();
    if (clipped == 0 || clipped > MAXDWORD)
        return nullptr;
    char* tags = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(clipped)));
    if (!tags)
        return nullptr;
    source.Read(0, tags, static_cast<size_t>(clipped));
    return tags;
}

// Fills type, frequency and channels from the audio that follows the tag.
void IdentifyAudio(const ByteSource& source, uint64_t audioStart, Channel* channel)
{
    channel->type = CTYPE_STREAM_OTHER;
    channel->frequency = 44100;
    channel->channels = 2;
    if (audioStart >= source.Length())
        return;
    static_assert(LAYER3_SCAN_LIMIT + LAYER3_LOOKAHEAD < 8192, "scan window fits the buffer");
    uint8_t window[8192];
    size_t got = source.Read(audioStart, window, sizeof window);
    Layer3Stream stream;
    if (FindLayer3Stream(window, got, source.Length() - audioStart, &stream)) {
        channel->type = BASS_CTYPE_STREAM_MP3;
        channel->frequency = stream.frequency;
        channel->channels = stream.channels;
    }
}

DWORD CreateChannel(const ByteSource& source)
{
    uint8_t header[ID3V2_HEADER_LENGTH];
    uint64_t tagLength = Id3v2BlockLength(header, source.Read(0, header, sizeof header));
    Channel channel = {};
    channel.tags = ReadTagBlock(source, tagLength);
    IdentifyAudio(source, tagLength, &channel);
    return AddChannel(channel);
}

}  // namespace

extern "C" {

DWORD WINAPI BASS_GetVersion(void)
{
    return BASS_VERSION;
}

DWORD WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, ULONGLONG offset, ULONGLONG length, DWORD flags)
{
    if (!file)
        return 0;
    ByteSource source;
    bool opened = mem ? source.OpenMemory(file, offset, length)
                      : source.OpenFile(file, (flags & BASS_UNICODE) != 0, offset, length);
    return opened ? CreateChannel(source) : 0;
}

BOOL WINAPI BASS_StreamFree(DWORD handle)
{
    return RemoveChannel(handle);
}

BOOL WINAPI BASS_ChannelGetInfo(DWORD handle, BassChannelInfo* info)
{
    Channel channel;
    if (!info || !FindChannel(handle, &channel))
        return FALSE;
    *info = BassChannelInfo();
    info->freq = channel.frequency;
    info->chans = channel.channels;
    info->ctype = channel.type;
    info->origres = 16;
    return TRUE;
}

#ifndef BASS_WITHOUT_TAGS
const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags)
{
    Channel channel;
    if (tags != BASS_TAG_ID3V2 || !FindChannel(handle, &channel))
        return nullptr;
    return channel.tags;
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_DETACH)
        RemoveAllChannels();
    return TRUE;
}

}  // extern "C"
