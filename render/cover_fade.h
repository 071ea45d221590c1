#pragma once
#include <windows.h>

// Cover changes blended over about 200 ms from the frame on screen to the new
// one, in steps of about 15 ms on a timer of the UI thread, when the "fade"
// setting is on; and the window faded out of sight when nothing plays. The
// last step presents the new frame exactly.
constexpr UINT_PTR FADE_TIMER_ID = 102;
constexpr DWORD FADE_MS = 200;
constexpr UINT FADE_STEP_MS = 15;

// Presents the frame for the cover now held: faded in from what is on screen
// (from nothing for a hidden window, which then shows), or at once with the
// setting off. A change during a fade starts the next fade from what shows.
void PresentCoverChange(HWND window);
// Fades the window out, then hides it; at once with the setting off.
void HideWindowWhenIdle(HWND window);
// One step of the fade under way: the fade timer's tick.
void AdvanceFade(HWND window);
// Ends the fade under way where it is; a presentation that follows shows.
void StopFade(HWND window);
