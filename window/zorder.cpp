#include "window/zorder.h"

bool IsKnownZOrder(int position)
{
    return position >= ZORDER_NORMAL && position <= ZORDER_BOTTOM;
}

bool PinnedToBottom(int position)
{
    return position == ZORDER_BOTTOM;
}

void ApplyZOrder(HWND window, int position)
{
    HWND insertAfter = HWND_NOTOPMOST;
    if (position == ZORDER_TOPMOST)
        insertAfter = HWND_TOPMOST;
    else if (PinnedToBottom(position))
        insertAfter = HWND_BOTTOM;
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
