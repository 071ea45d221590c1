#include "support/leak_counters.h"

// GDI handles carry a table index in the low word and a reuse counter in the
// upper bits; GetObjectType answers 0 for any value that names no live object.
size_t CountGdiObjects()
{
    size_t count = 0;
    for (ULONG_PTR index = 0x10; index <= 0x3FFF; ++index) {
        for (ULONG_PTR reuse = 0; reuse <= 0xFF; ++reuse) {
            HGDIOBJ handle = reinterpret_cast<HGDIOBJ>((reuse << 16) | index);
            if (GetObjectType(handle) != 0) {
                ++count;
                break;
            }
        }
    }
    return count;
}

namespace {

size_t CountKernelHandles()
{
    size_t count = 0;
    for (ULONG_PTR value = 4; value <= 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

size_t CountProcessHeapBlocks()
{
    HANDLE heap = GetProcessHeap();
    size_t count = 0;
    if (!HeapLock(heap))
        return 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            ++count;
    }
    HeapUnlock(heap);
    return count;
}

}  // namespace

size_t CommittedPrivateBytes()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    const char* address = NULL;
    while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

LeakCounts TakeLeakCounts()
{
    LeakCounts counts;
    counts.gdiObjects = CountGdiObjects();
    counts.kernelHandles = CountKernelHandles();
    counts.heapBlocks = CountProcessHeapBlocks();
    counts.privateBytes = CommittedPrivateBytes();
    return counts;
}
