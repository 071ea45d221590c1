// apic-extract IN OUT: writes the picture that the plug-in would take from the
// embedded tags of IN to OUT. IN is served as the stand-in audio library
// serves it (MP3, FLAC, Ogg Vorbis, Opus), and the plug-in's own selection
// runs over it: the Latin-1 APIC picture, then the other embedded pictures,
// then the picture the plug-in reads from the file itself (MP4, ASF, WAV,
// AIFF, APEv2). The folder's files are not looked at.
// Exit 0: picture written; 1: no picture; 2: usage or I/O error.
// apic-extract --text IN: prints the title, artist and album the plug-in
// reads from IN's tags, tab-separated on one line of UTF-8; exit 0 or 2.
#include <stdio.h>
#include "cover/embedded_selection.h"
#include "cover/file_picture.h"
#include "state/picture_buffer.h"
#include "standin/bass/stream_tags.h"

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
#define SEEK64 _fseeki64
#define TELL64 _ftelli64
#else
typedef char ArgChar;
#define TOOL_MAIN main
FILE* OpenFile(const ArgChar* path, const char* mode)
{
    return fopen(path, mode);
}
#define SEEK64 fseeko
#define TELL64 ftello
#endif

enum ExitCode { EXIT_PICTURE = 0, EXIT_NO_PICTURE = 1, EXIT_TROUBLE = 2 };

class FileReader : public ByteReader {
public:
    explicit FileReader(FILE* file) : file(file)
    {
        if (SEEK64(file, 0, SEEK_END) == 0 && TELL64(file) > 0)
            length = static_cast<uint64_t>(TELL64(file));
    }
    uint64_t Length() const override { return length; }
    size_t Read(uint64_t position, void* out, size_t count) const override
    {
        if (position >= length || SEEK64(file, static_cast<long long>(position), SEEK_SET) != 0)
            return 0;
        return fread(out, 1, count, file);
    }

private:
    FILE* file;
    uint64_t length = 0;
};

const char* ServeFromFile(const void* tags, uint32_t tagType)
{
    return ServeStreamTag(*static_cast<const StreamTags*>(tags), tagType);
}

bool WriteAll(const ArgChar* path, const uint8_t* bytes, size_t length)
{
    FILE* file = OpenFile(path, "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes, 1, length, file) == length;
    return fclose(file) == 0 && ok;
}

bool IsTextOption(const ArgChar* argument)
{
    static const char OPTION[] = "--text";
    for (size_t i = 0; i < sizeof OPTION; ++i)
        if (argument[i] != static_cast<ArgChar>(OPTION[i]))
            return false;
    return true;
}

}  // namespace

int TOOL_MAIN(int argc, ArgChar** argv)
{
    if (argc != 3) {
        fputs("usage: apic-extract IN OUT\n       apic-extract --text IN\n", stderr);
        return EXIT_TROUBLE;
    }
    const bool text = IsTextOption(argv[1]);
    FILE* file = OpenFile(argv[text ? 2 : 1], "rb");
    if (!file) {
        fputs("apic-extract: cannot read the input file\n", stderr);
        return EXIT_TROUBLE;
    }
    FileReader reader(file);
    StreamTags tags;
    bool read = ReadStreamTags(reader, &tags);
    if (!read || ferror(file) != 0) {
        FreeStreamTags(&tags);
        fclose(file);
        fputs("apic-extract: cannot read the input file\n", stderr);
        return EXIT_TROUBLE;
    }

    // A local file, as the plug-in bounds it: no tag outgrows the file.
    TagServer server = {tags.type, ServeFromFile, &tags, static_cast<size_t>(reader.Length())};
    if (text) {
        TagText found;
        SelectEmbeddedText(server, &found);
        FreeStreamTags(&tags);
        ReadTextFromFile(reader, &found);
        fclose(file);
        printf("%s\t%s\t%s\n", found.field[TITLE].c_str(), found.field[ARTIST].c_str(), found.field[ALBUM].c_str());
        return EXIT_PICTURE;
    }
    PictureBuffer picture;
    int found = SelectEmbeddedPicture(server, EmbeddedStep::LATIN1_APIC, &picture);
    if (!picture.data())
        found = SelectEmbeddedPicture(server, EmbeddedStep::FURTHER_PICTURES, &picture);
    FreeStreamTags(&tags);
    if (!picture.data())
        found = ReadPictureFromFile(reader, &picture);
    bool unreadable = ferror(file) != 0;
    fclose(file);
    if (unreadable) {
        fputs("apic-extract: cannot read the input file\n", stderr);
        return EXIT_TROUBLE;
    }

    int code = found ? EXIT_PICTURE : EXIT_NO_PICTURE;
    if (found && !WriteAll(argv[2], picture.data(), static_cast<size_t>(picture.length()))) {
        fputs("apic-extract: cannot write the output file\n", stderr);
        code = EXIT_TROUBLE;
    }
    return code;
}
