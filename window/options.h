#pragma once
#include "state/display_state.h"

// A value a menu item sets; the item is checked while the option has it.
struct MenuChoice {
    int menuId;
    int value;
};

// The options the menu changes: their settings key under [setting], the
// default a missing key reads as, their menu items, and whether a change
// shows at once (the others take effect at the next move, cover change or
// stop). An on/off option has one item that toggles it; a chosen one has an
// item per value. The load, the save, the command handler and the menu's
// marks all go through this table.
struct Option {
    const wchar_t* key;
    int DisplayState::*field;
    int fallback;
    int menuId;  // the on/off item; 0 for a chosen option
    bool redraws;
    const MenuChoice* choices = nullptr;
    int choiceCount = 0;
};

extern const Option OPTIONS[6];

// The option a menu item changes and the value it gives it (an on/off
// option's flipped value), or null.
const Option* FindOption(int menuId, int* value);
// Whether the option's item `menuId` shows a check mark now.
bool MenuItemChecked(const Option& option, int menuId);
