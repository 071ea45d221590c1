#include "channel_table.h"

namespace {

SRWLOCK tableLock = SRWLOCK_INIT;
Channel table[MAX_CHANNELS];
// Handles are never reused, so a stale handle cannot reach a newer stream.
DWORD lastHandle;

void FreeTags(StreamTags tags)
{
    FreeStreamTags(&tags);
}

}  // namespace

DWORD AddChannel(const Channel& channel)
{
    DWORD handle = 0;
    AcquireSRWLockExclusive(&tableLock);
    for (Channel& slot : table) {
        if (slot.handle == 0) {
            slot = channel;
            handle = slot.handle = ++lastHandle;
            break;
        }
    }
    ReleaseSRWLockExclusive(&tableLock);
    if (!handle)
        FreeTags(channel.tags);
    return handle;
}

bool FindChannel(DWORD handle, Channel* out)
{
    bool found = false;
    AcquireSRWLockShared(&tableLock);
    for (const Channel& slot : table) {
        if (handle != 0 && slot.handle == handle) {
            *out = slot;
            found = true;
            break;
        }
    }
    ReleaseSRWLockShared(&tableLock);
    return found;
}

bool RemoveChannel(DWORD handle)
{
    StreamTags tags = {};
    bool found = false;
    AcquireSRWLockExclusive(&tableLock);
    for (Channel& slot : table) {
        if (handle != 0 && slot.handle == handle) {
            tags = slot.tags;
            slot = Channel();
            found = true;
            break;
        }
    }
    ReleaseSRWLockExclusive(&tableLock);
    FreeTags(tags);
    return found;
}

void RemoveAllChannels()
{
    AcquireSRWLockExclusive(&tableLock);
    for (Channel& slot : table) {
        FreeTags(slot.tags);
        slot = Channel();
    }
    ReleaseSRWLockExclusive(&tableLock);
}
