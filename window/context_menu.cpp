#include "window/context_menu.h"
#include "state/display_state.h"

void ShowContextMenu(HWND) {}
void AppendThemeItems(HMENU) {}
void OnCommand(HWND, int) {}
