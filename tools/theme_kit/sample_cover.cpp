#include "tools/theme_kit/sample_cover.h"
#include <windows.h>
#include "tools/theme_kit/kit_resources.h"

std::vector<unsigned char> SampleCoverPng()
{
    const HRSRC found = FindResourceW(NULL, MAKEINTRESOURCEW(IDR_SAMPLE_COVER), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(NULL, found) : NULL;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    return bytes ? std::vector<unsigned char>(bytes, bytes + SizeofResource(NULL, found)) : std::vector<unsigned char>();
}

NowPlaying SampleTrack()
{
    return {L"Night Drive", L"\u661F\u91CE\u3072\u304B\u308A", L"Field Notes"};
}
