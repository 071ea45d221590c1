#include "window/commands.h"
#include "render/frame.h"
#include "render/theme.h"
#include "resources/resource_ids.h"
#include "state/display_state.h"
#include "window/options.h"
#include "window/zorder.h"

namespace {

// Stored first: the position-changing handler pins by the new mode.
void ChangeZOrder(HWND window, int position)
{
    displayState.position = position;
    ApplyZOrder(window, position);
}

void ChangeOption(HWND window, int id)
{
    int value = 0;
    const Option* option = FindOption(id, &value);
    if (!option)
        return;
    displayState.*option->field = value;
    if (option->redraws)
        PresentFrame(window);
}

}  // namespace

void OnCommand(HWND window, int id)
{
    switch (id) {
    case IDM_ZORDER_NORMAL:
        ChangeZOrder(window, ZORDER_NORMAL);
        break;
    case IDM_ZORDER_TOPMOST:
        ChangeZOrder(window, ZORDER_TOPMOST);
        break;
    case IDM_ZORDER_BOTTOM:
        ChangeZOrder(window, ZORDER_BOTTOM);
        break;
    case IDM_THEME_DEFAULT:
        displayState.theme[0] = L'\0';
        LoadTheme(window);
        PresentFrame(window);
        break;
    default:
        ChangeOption(window, id);
        break;
    }
}
