#include <windows.h>
extern "C" {
DWORD WINAPI BASS_GetVersion(void) { return 0x02040000; }
BOOL WINAPI BASS_ChannelGetInfo(DWORD, void*) { return FALSE; }
#ifndef BASS_WITHOUT_TAGS
const char* WINAPI BASS_ChannelGetTags(DWORD, DWORD) { return NULL; }
#endif
DWORD WINAPI BASS_StreamCreateFile(BOOL, const void*, ULONGLONG, ULONGLONG, DWORD) { return 0; }
BOOL WINAPI BASS_StreamFree(DWORD) { return FALSE; }
}
