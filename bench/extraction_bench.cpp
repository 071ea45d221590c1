// Extraction of a 2 MB picture from behind 100 text frames: our walker,
// TagLib doing the same, and a bare memcpy of the picture bytes as the floor.
#include <benchmark/benchmark.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>
#include "cover/id3v2.h"
#include "state/picture_buffer.h"
#include "tests/support/tag_builder.h"

namespace {

constexpr size_t PICTURE_SIZE = 2 * 1024 * 1024;
constexpr int TEXT_FRAMES = 100;

std::vector<uint8_t> MakePicture()
{
    std::vector<uint8_t> picture(PICTURE_SIZE);
    uint32_t state = 12345;
    for (uint8_t& b : picture) {
        state = state * 1103515245u + 12345u;
        b = static_cast<uint8_t>(state >> 16);
    }
    picture[0] = 0xFF;
    picture[1] = 0xD8;
    return picture;
}

// An ID3v2.3 tag: 100 text frames, then the APIC frame.
std::vector<uint8_t> MakeTag(const std::vector<uint8_t>& picture)
{
    static const char* const ids[] = {"TIT2", "TPE1", "TALB", "TCOM", "TCON", "TYER", "TRCK", "TPOS", "TENC", "TCOP"};
    Bytes body;
    for (int i = 0; i < TEXT_FRAMES; ++i)
        body = body + Frame3(ids[i % 10], Bytes{0} + Text("text value number " + std::to_string(i)));
    return Tag(3, 0, body + Frame3("APIC", Apic(picture, 0, "cover")));
}

// Just enough of a TagLib file for ID3v2::Tag to read the block from.
class TagBlockFile : public TagLib::File {
public:
    explicit TagBlockFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return NULL; }
    TagLib::AudioProperties* audioProperties() const override { return NULL; }
    bool save() override { return false; }
};

const std::vector<uint8_t>& Picture()
{
    static const std::vector<uint8_t> picture = MakePicture();
    return picture;
}

const std::vector<uint8_t>& TagBlock()
{
    static const std::vector<uint8_t> tag = MakeTag(Picture());
    return tag;
}

void Walker(benchmark::State& state)
{
    const std::vector<uint8_t>& tag = TagBlock();
    for (auto _ : state) {
        PictureBuffer picture;
        ExtractApicFromTagBlock(tag.data(), tag.size(), &picture);
        if (static_cast<size_t>(picture.length()) != PICTURE_SIZE)
            state.SkipWithError("walker found no picture");
        benchmark::DoNotOptimize(picture.data());
    }
    state.SetBytesProcessed(state.iterations() * PICTURE_SIZE);
}

void TagLibPicture(benchmark::State& state)
{
    const std::vector<uint8_t>& tag = TagBlock();
    const TagLib::ByteVector bytes(reinterpret_cast<const char*>(tag.data()), static_cast<unsigned>(tag.size()));
    for (auto _ : state) {
        TagLib::ByteVectorStream stream(bytes);
        TagBlockFile file(&stream);
        TagLib::ID3v2::Tag id3(&file, 0);
        const TagLib::ID3v2::FrameList& frames = id3.frameListMap()["APIC"];
        auto* apic = frames.isEmpty() ? NULL : dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frames.front());
        if (!apic || apic->picture().size() != PICTURE_SIZE) {
            state.SkipWithError("TagLib found no picture");
            break;
        }
        // Like the walker, end with a copy the caller owns.
        TagLib::ByteVector data = apic->picture();
        void* copy = malloc(data.size());
        memcpy(copy, data.data(), data.size());
        benchmark::DoNotOptimize(copy);
        free(copy);
    }
    state.SetBytesProcessed(state.iterations() * PICTURE_SIZE);
}

void MemcpyFloor(benchmark::State& state)
{
    const std::vector<uint8_t>& picture = Picture();
    std::vector<uint8_t> target(PICTURE_SIZE);
    for (auto _ : state) {
        memcpy(target.data(), picture.data(), PICTURE_SIZE);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * PICTURE_SIZE);
}

}  // namespace

BENCHMARK(Walker)->Unit(benchmark::kMicrosecond);
BENCHMARK(TagLibPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
