#include "real_input.h"
#include "helpers/message_pump.h"

namespace {

constexpr DWORD INPUT_PACE_MS = 30;
constexpr int DRAG_MOVES = 10;

void Send(INPUT input)
{
    SendInput(1, &input, sizeof input);
    PumpFor(INPUT_PACE_MS);
}

void MoveTo(POINT at)
{
    // Absolute coordinates span 0..65535 over the primary screen.
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(at.x) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(at.y) * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(input);
}

void Button(DWORD flag)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    Send(input);
}

void Key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    if (up)
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    Send(input);
}

}  // namespace

void LeftDrag(POINT from, POINT to)
{
    MoveTo(from);
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= DRAG_MOVES; ++i) {
        POINT step = {from.x + (to.x - from.x) * i / DRAG_MOVES, from.y + (to.y - from.y) * i / DRAG_MOVES};
        MoveTo(step);
    }
    Button(MOUSEEVENTF_LEFTUP);
}

void DoubleClick(POINT at, bool shiftOnSecondClick)
{
    MoveTo(at);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    if (shiftOnSecondClick)
        Key(VK_SHIFT, false);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    if (shiftOnSecondClick)
        Key(VK_SHIFT, true);
}

void PressLeft(POINT at, bool shiftClickFirst)
{
    MoveTo(at);
    if (shiftClickFirst) {
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
        Key(VK_SHIFT, false);
    }
    Button(MOUSEEVENTF_LEFTDOWN);
}

void ReleaseLeft()
{
    Button(MOUSEEVENTF_LEFTUP);
    Key(VK_SHIFT, true);
}

void RightClick(POINT at)
{
    MoveTo(at);
    Button(MOUSEEVENTF_RIGHTDOWN);
    Button(MOUSEEVENTF_RIGHTUP);
}

void PressKeys(const std::vector<WORD>& keys)
{
    for (WORD key : keys) {
        Key(key, false);
        Key(key, true);
    }
}
