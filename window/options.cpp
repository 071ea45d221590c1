#include "window/options.h"
#include "resources/resource_ids.h"

namespace {

constexpr MenuChoice OPACITY_CHOICES[] = {
    {IDM_OPACITY_100, 100}, {IDM_OPACITY_90, 90}, {IDM_OPACITY_75, 75}, {IDM_OPACITY_50, 50}};
constexpr int OPACITY_CHOICE_COUNT = sizeof OPACITY_CHOICES / sizeof OPACITY_CHOICES[0];

}  // namespace

// In menu order, which is also the order the settings file is written in.
const Option OPTIONS[6] = {
    {L"aspectratio", &DisplayState::aspectratio, 1, IDM_ASPECTRATIO, true},
    {L"snap", &DisplayState::snap, 1, IDM_SNAP, false},
    {L"attachedpicture", &DisplayState::attachedpicture, 1, IDM_ATTACHEDPICTURE, false},
    {L"fade", &DisplayState::fade, 1, IDM_FADE, false},
    {L"autohide", &DisplayState::autohide, 0, IDM_AUTOHIDE, false},
    {L"opacity", &DisplayState::opacity, 100, 0, true, OPACITY_CHOICES, OPACITY_CHOICE_COUNT},
};

const Option* FindOption(int menuId, int* value)
{
    for (const Option& option : OPTIONS) {
        if (option.menuId != 0 && option.menuId == menuId) {
            *value = displayState.*option.field == 0 ? 1 : 0;
            return &option;
        }
        for (int i = 0; i < option.choiceCount; ++i) {
            if (option.choices[i].menuId == menuId) {
                *value = option.choices[i].value;
                return &option;
            }
        }
    }
    return nullptr;
}

bool MenuItemChecked(const Option& option, int menuId)
{
    const int value = displayState.*option.field;
    if (menuId == option.menuId)
        return value != 0;
    for (int i = 0; i < option.choiceCount; ++i) {
        if (option.choices[i].menuId == menuId)
            return option.choices[i].value == value;
    }
    return false;
}
