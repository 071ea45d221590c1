#pragma once
#include "state/display_state.h"

// The on/off options: their settings key under [setting], the default a
// missing key reads as, their menu item, and whether a change shows at once
// (the others take effect at the next move or cover refresh). The load, the
// save, the command handler and the menu's marks all go through this table.
struct OptionToggle {
    const wchar_t* key;
    int DisplayState::*field;
    int fallback;
    int menuId;
    bool redraws;
};

extern const OptionToggle OPTION_TOGGLES[3];

// The option a menu id toggles, or null.
const OptionToggle* FindOptionToggle(int menuId);
