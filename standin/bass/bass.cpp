// Our stand-in for the host's audio library: it opens files only far enough to
// tell MP3, FLAC, Ogg Vorbis and Opus from anything else and to serve their
// tags: the ID3v2 block, the Ogg comments and the FLAC picture records.
#include <windows.h>
#include "cover/bass_interface.h"
#include "channel_table.h"
#include "byte_source.h"
#include "stream_tags.h"

namespace {

constexpr DWORD BASS_VERSION = 0x02040000;

DWORD CreateChannel(const ByteSource& source)
{
    Channel channel = {};
    if (!ReadStreamTags(source, &channel.tags)) {
        FreeStreamTags(&channel.tags);
        return 0;
    }
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
    info->freq = channel.tags.frequency;
    info->chans = channel.tags.channels;
    info->ctype = channel.tags.type;
    info->origres = 16;
    return TRUE;
}

#ifndef BASS_WITHOUT_TAGS
const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags)
{
    Channel channel;
    if (!FindChannel(handle, &channel))
        return nullptr;
    return ServeStreamTag(channel.tags, tags);
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_DETACH)
        RemoveAllChannels();
    return TRUE;
}

}  // extern "C"
