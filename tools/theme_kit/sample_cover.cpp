#include "tools/theme_kit/sample_cover.h"
#include <windows.h>
#include <vector>
#include "state/display_state.h"
#include "tools/theme_kit/kit_resources.h"
#include "tools/theme_kit/theme_pictures.h"

namespace {

std::vector<unsigned char> SampleCoverPng()
{
    const HRSRC found = FindResourceW(NULL, MAKEINTRESOURCEW(IDR_SAMPLE_COVER), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(NULL, found) : NULL;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    return bytes ? std::vector<unsigned char>(bytes, bytes + SizeofResource(NULL, found)) : std::vector<unsigned char>();
}

}  // namespace

bool HoldCover(const std::wstring& path)
{
    std::vector<unsigned char> bytes = path.empty() ? SampleCoverPng() : std::vector<unsigned char>();
    if (!path.empty() && !ReadPictureArgument(path, L"cover", &bytes))
        return false;
    displayState.cover.Release();
    return !bytes.empty() && displayState.cover.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

NowPlaying SampleTrack()
{
    return {L"Night Drive", L"\u661F\u91CE\u3072\u304B\u308A", L"Field Notes"};
}
