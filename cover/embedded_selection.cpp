#include "cover/embedded_selection.h"
#include "cover/bass_interface.h"
#include "cover/flac_pictures.h"
#include "cover/id3v2.h"
#include "cover/ogg_comments.h"

namespace {

int ApicPicture(const TagServer& server, ApicEncodings accepted, PictureBuffer* picture)
{
    return ExtractApicFromServedTag(reinterpret_cast<const uint8_t*>(server.Tags(BASS_TAG_ID3V2)), picture,
                                    accepted, server.readBound);
}

int CommentPicture(const TagServer& server, PictureBuffer* picture)
{
    return ExtractPictureFromComments(server.Tags(BASS_TAG_OGG), server.readBound, picture);
}

}  // namespace

int SelectEmbeddedPicture(const TagServer& server, EmbeddedStep step, PictureBuffer* picture)
{
    if (step == EmbeddedStep::LATIN1_APIC)
        return server.channelType == BASS_CTYPE_STREAM_MP3 ? ApicPicture(server, ApicEncodings::LATIN1, picture) : 0;
    bool served = false;
    switch (server.channelType) {
    case BASS_CTYPE_STREAM_MP3:
        return ApicPicture(server, ApicEncodings::UTF16_OR_UTF8, picture);
    case BASS_CTYPE_STREAM_FLAC:
        return ExtractFlacPicture(server, picture, &served);
    case BASS_CTYPE_STREAM_FLAC_OGG: {
        // FLAC in Ogg keeps its pictures in the comments when the library
        // serves no record of them.
        int found = ExtractFlacPicture(server, picture, &served);
        return served ? found : CommentPicture(server, picture);
    }
    case BASS_CTYPE_STREAM_VORBIS:
    case BASS_CTYPE_STREAM_OPUS:
        return CommentPicture(server, picture);
    default:
        return 0;
    }
}

void SelectEmbeddedText(const TagServer& server, TagText* text)
{
    switch (server.channelType) {
    case BASS_CTYPE_STREAM_MP3:
        ReadTextFromServedTag(reinterpret_cast<const uint8_t*>(server.Tags(BASS_TAG_ID3V2)), server.readBound, text);
        return;
    case BASS_CTYPE_STREAM_FLAC:
    case BASS_CTYPE_STREAM_FLAC_OGG:
    case BASS_CTYPE_STREAM_VORBIS:
    case BASS_CTYPE_STREAM_OPUS:
        ReadTextFromComments(server.Tags(BASS_TAG_OGG), server.readBound, text);
        return;
    default:
        return;
    }
}
