#pragma once
// The plug-in's own theme loading and frame composition, driven for one theme
// folder outside the player.
#include <windows.h>
#include <string>
#include "helpers/layered_popup.h"
#include "helpers/pictures.h"
#include "state/display_state.h"

// Points the plug-in's state at the theme folder `folder` (a full path) and
// runs LoadTheme. False when the folder's files have paths the plug-in cannot
// form (260 characters); nothing is loaded then.
bool LoadThemeFolder(HWND window, const std::wstring& folder);
// True when the last load gave up the folder for the built-in theme.
bool FellBackToBuiltIn();

// Decodes a held picture with the plug-in's decoder; false when it does not decode.
bool DecodeHeld(const ImageStreamHolder& holder, Pixels* pixels);
// The frame PresentFrame would hand to UpdateLayeredWindow for `window`:
// premultiplied by alpha, as the layered window takes it.
bool ComposeWindowFrame(const LayeredPopup& window, Pixels* frame);
// The time one PresentFrame takes, in milliseconds (the median of a few).
double PresentationMilliseconds(HWND window);
