#include "state/display_state.h"

#ifndef _WIN64
static_assert(sizeof(BassChannelInfo) == 32, "BASS's record is eight 32-bit words");
#endif

DisplayState displayState;
