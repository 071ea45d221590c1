#include "cover/embedded_picture.h"

int ExtractEmbeddedPicture(DWORD, PictureBuffer*)
{
    return 0;
}

int ExtractApicFromTag(DWORD, PictureBuffer*)
{
    return 0;
}
