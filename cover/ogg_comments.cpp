#include "cover/ogg_comments.h"
#include <string.h>
#include "cover/bounded_string.h"
#include "cover/picture_block.h"
#include "cover/picture_choice.h"

namespace {

constexpr char PICTURE_FIELD[] = "METADATA_BLOCK_PICTURE=";
constexpr size_t PICTURE_FIELD_LENGTH = sizeof PICTURE_FIELD - 1;

// Field names are ASCII and compared without regard to case.
bool IsPictureField(const char* comment, size_t length)
{
    if (length < PICTURE_FIELD_LENGTH)
        return false;
    for (size_t i = 0; i < PICTURE_FIELD_LENGTH; ++i) {
        char c = comment[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != PICTURE_FIELD[i])
            return false;
    }
    return true;
}

}  // namespace

int ExtractPictureFromComments(const char* comments, size_t readBound, PictureBuffer* picture)
{
    if (!comments)
        return 0;
    PictureChoice choice;
    const char* chosenText = nullptr;
    PictureBlockInfo chosenInfo = {};
    size_t index = 0;
    size_t at = 0;
    size_t length;
    // A series that does not end within the bound is read no further.
    while (BoundedStringLength(reinterpret_cast<const uint8_t*>(comments), at, readBound, &length) && length > 0) {
        const char* comment = comments + at;
        PictureBlockInfo info;
        if (IsPictureField(comment, length) &&
            ParsePictureBlock(comment + PICTURE_FIELD_LENGTH, length - PICTURE_FIELD_LENGTH, &info)) {
            size_t before = choice.chosen;
            bool final = OfferPicture(&choice, index++, info.pictureType, info.isLink);
            if (choice.chosen != before) {
                chosenText = comment + PICTURE_FIELD_LENGTH;
                chosenInfo = info;
            }
            if (final)
                break;
        }
        at += length + 1;
    }
    if (!chosenText || !DecodeBlockPicture(chosenText, chosenInfo, picture))
        return 0;
    return picture->length() != 0;
}

void ReadTextFromComments(const char* comments, size_t readBound, TagText* text)
{
    if (!comments)
        return;
    size_t at = 0, length;
    while (!text->Complete() &&
           BoundedStringLength(reinterpret_cast<const uint8_t*>(comments), at, readBound, &length) && length > 0) {
        const char* comment = comments + at;
        const char* equals = static_cast<const char*>(memchr(comment, '=', length));
        TextField which;
        if (equals && TextFieldNamed(comment, static_cast<size_t>(equals - comment), &which))
            text->Offer(which, TextFromUtf8(reinterpret_cast<const uint8_t*>(equals + 1),
                                            length - static_cast<size_t>(equals + 1 - comment)));
        at += length + 1;
    }
}
