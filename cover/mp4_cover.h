#pragma once
#include "cover/container_reader.h"

// MP4, M4A, M4B (an "ftyp" box first): the first "data" box of the first
// "covr" item, at moov/udta/meta/ilst/covr. Boxes not on that path are
// seeked over, never read, so a "moov" after gigabytes of "mdat" costs a few
// reads.
extern const ContainerReader MP4_READER;
