// apic-extract IN.mp3 OUT: writes the picture of the first usable APIC frame
// of IN's ID3v2 tag to OUT, read the way the plug-in reads it through the
// audio library. Exit 0: picture written; 1: no picture; 2: usage or I/O error.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include "cover/id3v2.h"
#include "cover/picture_heap.h"

namespace {

#ifdef _WIN32
// Wide arguments and file names, so that any path the shell passes opens.
typedef wchar_t ArgChar;
#define TOOL_MAIN wmain
FILE* OpenFile(const ArgChar* path, const char* mode)
{
    wchar_t wideMode[4] = {0};
    for (int i = 0; i < 3 && mode[i]; ++i)
        wideMode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path, wideMode);
}
#else
typedef char ArgChar;
#define TOOL_MAIN main
FILE* OpenFile(const ArgChar* path, const char* mode)
{
    return fopen(path, mode);
}
#endif

enum ExitCode { EXIT_PICTURE = 0, EXIT_NO_PICTURE = 1, EXIT_TROUBLE = 2 };

// Reads in steps, so that a header claiming a huge tag in a small file does
// not make us reserve the claimed size.
bool ReadUpTo(FILE* file, std::vector<uint8_t>& bytes, size_t wanted)
{
    const size_t step = 1 << 16;
    while (bytes.size() < wanted) {
        size_t have = bytes.size();
        size_t chunk = wanted - have < step ? wanted - have : step;
        bytes.resize(have + chunk);
        size_t got = fread(bytes.data() + have, 1, chunk, file);
        bytes.resize(have + got);
        if (got < chunk)
            break;
    }
    return !ferror(file);
}

// The tag block as the audio library holds it: the header and its stated size
// (top bit of each size byte masked off), cut short where the file ends.
// Empty when the file has no tag.
bool ReadTagBlock(const ArgChar* path, std::vector<uint8_t>& block)
{
    FILE* file = OpenFile(path, "rb");
    if (!file)
        return false;
    bool ok = ReadUpTo(file, block, ID3_HEADER_SIZE);
    if (ok && block.size() == ID3_HEADER_SIZE && memcmp(block.data(), "ID3", 3) == 0)
        ok = ReadUpTo(file, block, HeldTagBlockLength(block.data()));
    else
        block.clear();
    fclose(file);
    return ok;
}

bool WriteAll(const ArgChar* path, const uint8_t* bytes, size_t length)
{
    FILE* file = OpenFile(path, "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes, 1, length, file) == length;
    return fclose(file) == 0 && ok;
}

}  // namespace

int TOOL_MAIN(int argc, ArgChar** argv)
{
    if (argc != 3) {
        fputs("usage: apic-extract IN.mp3 OUT\n", stderr);
        return EXIT_TROUBLE;
    }
    std::vector<uint8_t> block;
    if (!ReadTagBlock(argv[1], block)) {
        fputs("apic-extract: cannot read the input file\n", stderr);
        return EXIT_TROUBLE;
    }
    // An exactly sized copy, so that the walker sees the block's true end.
    uint8_t* exact = static_cast<uint8_t*>(malloc(block.size() ? block.size() : 1));
    if (!exact) {
        fputs("apic-extract: out of memory\n", stderr);
        return EXIT_TROUBLE;
    }
    if (!block.empty())
        memcpy(exact, block.data(), block.size());
    PictureBuffer picture = {NULL, 0};
    int found = ExtractApicFromTagBlock(exact, block.size(), &picture);
    free(exact);

    int code = found ? EXIT_PICTURE : EXIT_NO_PICTURE;
    if (found && !WriteAll(argv[2], picture.data, static_cast<size_t>(picture.length))) {
        fputs("apic-extract: cannot write the output file\n", stderr);
        code = EXIT_TROUBLE;
    }
    FreePictureBlock(picture.data);
    return code;
}
