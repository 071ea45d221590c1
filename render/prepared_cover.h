#pragma once
#include <stdint.h>
#include "state/display_state.h"

// Which scaler made the prepared cover: WIC shrinks, GDI+ enlarges and
// stands in wherever WIC cannot be created or cannot read the picture.
enum class CoverScaler { WIC, GDIPLUS };

// The held cover decoded and scaled once to the rectangle it occupies on the
// frame (the fitted one with `aspectratio` on, the whole slot with it off),
// as premultiplied 32-bit BGRA rows, top-down, `at.width` pixels each. It is
// the only decoded copy kept, and it is drawn 1:1.
struct PreparedCover {
    ImageRect at;
    const uint32_t* pixels;
    CoverScaler scaler;
};

// The prepared cover for the held one, made again only when another cover was
// loaded or the slot or the aspect option changed. Null when there is no
// cover, or when it is refused, does not decode or leaves nothing to draw.
const PreparedCover* CurrentPreparedCover();
// Frees the prepared pixels (at quit, and between tests).
void ReleasePreparedCover();
