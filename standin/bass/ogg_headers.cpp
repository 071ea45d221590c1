#include "ogg_headers.h"
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

constexpr size_t PAGE_HEADER_LENGTH = 27;
constexpr size_t SEGMENT_COUNT_OFFSET = 26;
constexpr size_t SERIAL_OFFSET = 14;
constexpr uint8_t FULL_SEGMENT = 255;
// Header packets past this are not served (a picture of LARGEST_PICTURE_BYTES
// in base64 fits); pages past this many are not looked at.
constexpr size_t MAX_HEADER_PACKET = 48u << 20;
constexpr int MAX_PAGES = 1 << 16;
constexpr uint32_t OPUS_OUTPUT_RATE = 48000;

uint32_t LittleEndian(const uint8_t* b)
{
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
           static_cast<uint32_t>(b[3]) << 24;
}

// Reassembles the packets of the first logical stream from its pages.
class PacketReader {
public:
    PacketReader(const ByteReader& source, uint64_t start) : source(source), at(start) {}

    bool Next(std::vector<uint8_t>* packet)
    {
        packet->clear();
        while (true) {
            if (segment == segments.size() && !NextPage())
                return false;
            uint8_t length = segments[segment++];
            if (packet->size() + length > MAX_HEADER_PACKET)
                return false;
            size_t have = packet->size();
            packet->resize(have + length);
            if (source.Read(dataAt, packet->data() + have, length) != length)
                return false;
            dataAt += length;
            if (length < FULL_SEGMENT)
                return true;
        }
    }

private:
    bool NextPage()
    {
        while (pages++ < MAX_PAGES) {
            uint8_t header[PAGE_HEADER_LENGTH];
            if (source.Read(at, header, sizeof header) != sizeof header || memcmp(header, "OggS", 4) != 0)
                return false;
            uint32_t pageSerial = LittleEndian(header + SERIAL_OFFSET);
            size_t count = header[SEGMENT_COUNT_OFFSET];
            segments.resize(count);
            if (source.Read(at + PAGE_HEADER_LENGTH, segments.data(), count) != count)
                return false;
            dataAt = at + PAGE_HEADER_LENGTH + count;
            size_t body = 0;
            for (uint8_t length : segments)
                body += length;
            at = dataAt + body;
            segment = 0;
            if (!serialKnown) {
                serial = pageSerial;
                serialKnown = true;
            }
            if (pageSerial == serial && count > 0)
                return true;
        }
        return false;
    }

    const ByteReader& source;
    uint64_t at;
    uint64_t dataAt = 0;
    std::vector<uint8_t> segments;
    size_t segment = 0;
    int pages = 0;
    uint32_t serial = 0;
    bool serialKnown = false;
};

struct Codec {
    const char* identification;
    size_t identificationLength;
    const char* comments;
    size_t commentsLength;
    uint32_t type;
};
const Codec CODECS[] = {
    {"\x01vorbis", 7, "\x03vorbis", 7, BASS_CTYPE_STREAM_VORBIS},
    {"OpusHead", 8, "OpusTags", 8, BASS_CTYPE_STREAM_OPUS},
};

}  // namespace

// Vorbis comment fields: vendor string, count, then length-prefixed comments.
// Served as zero-terminated strings with an empty one at the end.
char* ServeComments(const uint8_t* bytes, size_t length)
{
    size_t at = 0;
    auto word = [&](uint32_t* value) {
        if (length - at < 4)
            return false;
        *value = LittleEndian(bytes + at);
        at += 4;
        return true;
    };
    uint32_t vendor, count;
    if (!word(&vendor) || length - at < vendor)
        return nullptr;
    at += vendor;
    if (!word(&count))
        return nullptr;
    std::vector<char> series;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t size;
        if (!word(&size) || length - at < size)
            break;  // a cut-off list keeps the comments before the cut
        series.insert(series.end(), bytes + at, bytes + at + size);
        series.push_back(0);
        at += size;
    }
    series.push_back(0);
    char* served = static_cast<char*>(malloc(series.size()));
    if (served)
        memcpy(served, series.data(), series.size());
    return served;
}

bool ReadOggHeaders(const ByteReader& source, uint64_t start, StreamTags* tags)
{
    PacketReader reader(source, start);
    std::vector<uint8_t> packet;
    if (!reader.Next(&packet))
        return false;
    for (const Codec& codec : CODECS) {
        if (packet.size() < 16 || memcmp(packet.data(), codec.identification, codec.identificationLength) != 0)
            continue;
        tags->type = codec.type;
        if (codec.type == BASS_CTYPE_STREAM_OPUS) {
            tags->channels = packet[9];
            tags->frequency = OPUS_OUTPUT_RATE;
        } else {
            tags->channels = packet[11];
            tags->frequency = LittleEndian(packet.data() + 12);
        }
        if (reader.Next(&packet) && packet.size() >= codec.commentsLength &&
            memcmp(packet.data(), codec.comments, codec.commentsLength) == 0)
            tags->comments = ServeComments(packet.data() + codec.commentsLength, packet.size() - codec.commentsLength);
        return true;
    }
    return false;
}
