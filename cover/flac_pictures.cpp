#include "cover/flac_pictures.h"
#include <string.h>
#include "cover/bass_interface.h"
#include "cover/picture_choice.h"
#include "state/picture_buffer.h"
#include "state/picture_limits.h"

namespace {

bool IsUsable(const BassTagPicture& record, size_t readBound)
{
    return record.data && record.length <= LARGEST_PICTURE_BYTES && record.length <= readBound &&
           !(record.mime && IsPictureLink(record.mime, strlen(record.mime)));
}

}  // namespace

int ExtractFlacPicture(const TagServer& server, PictureBuffer* picture, bool* served)
{
    *served = false;
    PictureChoice choice;
    const BassTagPicture* chosen = nullptr;
    for (uint32_t n = 0; n < MAX_FLAC_PICTURES; ++n) {
        const BassTagPicture* record = reinterpret_cast<const BassTagPicture*>(server.Tags(BASS_TAG_FLAC_PICTURE + n));
        if (!record)
            break;
        *served = true;
        size_t before = choice.chosen;
        bool final = OfferPicture(&choice, n, record->apic, !IsUsable(*record, server.readBound));
        if (choice.chosen != before)
            chosen = record;
        if (final)
            break;
    }
    if (!chosen)
        return 0;
    PictureBuffer copy = PictureBuffer::Zeroed(chosen->length);
    if (!copy.data())
        return 0;
    memcpy(copy.data(), chosen->data, chosen->length);
    *picture = std::move(copy);
    return picture->length() != 0;
}
