#include "cover/picture_choice.h"
#include <string.h>

bool IsPictureLink(const char* mime, size_t mimeLength)
{
    return mimeLength == 3 && memcmp(mime, "-->", 3) == 0;
}

bool OfferPicture(PictureChoice* choice, size_t index, uint32_t pictureType, bool isLink)
{
    if (choice->final || isLink)
        return choice->final;
    if (pictureType == PICTURE_TYPE_FRONT_COVER) {
        choice->chosen = index;
        choice->final = true;
    } else if (choice->chosen == NO_CHOICE) {
        choice->chosen = index;
    }
    return choice->final;
}
