#pragma once
#include <windows.h>
#include <stddef.h>
#include <tuple>

// Counters of what a process holds, for leak checks before and after a loop.
// GetGuiResources and GetProcessHandleCount read 0 under Wine, so these probe
// the handle spaces themselves.

// Live GDI objects of any type (DCs, bitmaps, pens, brushes, fonts, regions...).
size_t CountGdiObjects();

struct LeakCounts {
    size_t gdiObjects;
    size_t kernelHandles;  // open kernel handles (files, events, threads, sections...)
    size_t heapBlocks;     // busy blocks of the process heap, where global memory blocks live too
    size_t privateBytes;   // committed private bytes of the address space

    // GDI objects, kernel handles and heap blocks: what a leak-free repeat keeps level.
    std::tuple<size_t, size_t, size_t> Held() const { return {gdiObjects, kernelHandles, heapBlocks}; }
};
LeakCounts TakeLeakCounts();
// Committed private bytes of the address space alone, cheap enough to sample.
size_t CommittedPrivateBytes();
