#include "state/display_state.h"

DisplayState displayState;
