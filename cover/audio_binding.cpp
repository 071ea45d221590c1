#include "cover/audio_binding.h"
#include "state/display_state.h"

namespace {

struct AudioEntry {
    const char* suffix;
    FARPROC* slot;
};

const AudioEntry audioEntryTable[] = {
    {"GetVersion", reinterpret_cast<FARPROC*>(&displayState.AudioLibrary.BASS_GetVersion)},
    {"ChannelGetInfo", reinterpret_cast<FARPROC*>(&displayState.AudioLibrary.BASS_ChannelGetInfo)},
    {"ChannelGetTags", reinterpret_cast<FARPROC*>(&displayState.AudioLibrary.BASS_ChannelGetTags)},
    {NULL, NULL},
};

constexpr int NAME_BUFFER = 32;
constexpr int PREFIX_LENGTH = 5;  // "BASS_"

}  // namespace

int BindAudioLibrary()
{
    // The host loaded the library; looking it up takes no reference of ours.
    HMODULE bassModule = GetModuleHandleA("bass.dll");
    if (!bassModule)
        return 0;

    char name[NAME_BUFFER];
    lstrcpynA(name, "BASS_", NAME_BUFFER);
    for (const AudioEntry* entry = audioEntryTable; entry->suffix; ++entry) {
        lstrcpynA(name + PREFIX_LENGTH, entry->suffix, NAME_BUFFER - PREFIX_LENGTH);
        FARPROC address = GetProcAddress(bassModule, name);
        if (!address)
            return 0;
        *entry->slot = address;
    }
    return 1;
}
