#include "window/options.h"
#include "resources/resource_ids.h"

// In menu order, which is also the order the settings file is written in.
const OptionToggle OPTION_TOGGLES[3] = {
    {L"aspectratio", &DisplayState::aspectratio, 1, IDM_ASPECTRATIO, true},
    {L"snap", &DisplayState::snap, 1, IDM_SNAP, false},
    {L"attachedpicture", &DisplayState::attachedpicture, 1, IDM_ATTACHEDPICTURE, false},
};

const OptionToggle* FindOptionToggle(int menuId)
{
    for (const OptionToggle& option : OPTION_TOGGLES)
        if (option.menuId == menuId)
            return &option;
    return nullptr;
}
