#include "cover/file_picture.h"
#include "cover/ape_cover.h"
#include "cover/asf_cover.h"
#include "cover/container_reader.h"
#include "cover/mp4_cover.h"
#include "cover/riff_id3.h"
#include "state/picture_limits.h"

namespace {

// APEv2 is last: it sits at the end of files of any kind (WavPack, Musepack,
// Monkey's Audio, TrueAudio, MP3) and has no signature at the start.
const ContainerReader* const CONTAINER_READERS[] = {&MP4_READER, &ASF_READER, &WAV_READER, &AIFF_READER,
                                                    &APE_READER};

}  // namespace

int ReadPictureBytes(const ByteReader& file, uint64_t offset, uint64_t length, PictureBuffer* picture)
{
    uint64_t size = file.Length();
    if (length == 0 || length > LARGEST_PICTURE_BYTES || offset > size || length > size - offset)
        return 0;
    PictureBuffer copy = PictureBuffer::Zeroed(static_cast<size_t>(length));
    if (!copy.data() || !ReadExactly(file, offset, copy.data(), static_cast<size_t>(length)))
        return 0;
    *picture = std::move(copy);
    return 1;
}

std::string ReadTextBytes(const ByteReader& file, uint64_t offset, uint64_t length, StoredText form)
{
    // Four bytes a character in UTF-8 or in a UTF-16 surrogate pair.
    uint8_t bytes[4 * LONGEST_TEXT_CHARACTERS];
    const size_t wanted = static_cast<size_t>(length < sizeof bytes ? length : sizeof bytes);
    const size_t got = offset <= file.Length() ? file.Read(offset, bytes, wanted) : 0;
    return form == StoredText::UTF8 ? TextFromUtf8(bytes, got) : TextFromUtf16(bytes, got, false);
}

int ReadPictureFromFile(const ByteReader& file, PictureBuffer* picture)
{
    uint8_t head[CONTAINER_HEAD_BYTES];
    size_t got = file.Read(0, head, sizeof head);
    for (const ContainerReader* reader : CONTAINER_READERS) {
        if (reader->Recognises(head, got) && reader->ReadCover(file, picture))
            return 1;
    }
    return 0;
}

void ReadTextFromFile(const ByteReader& file, TagText* text)
{
    uint8_t head[CONTAINER_HEAD_BYTES];
    size_t got = file.Read(0, head, sizeof head);
    for (const ContainerReader* reader : CONTAINER_READERS) {
        if (!text->Complete() && reader->Recognises(head, got))
            reader->ReadText(file, text);
    }
}
