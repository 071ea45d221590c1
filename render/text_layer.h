#pragma once
#include <string>
#include "render/frame_pixels.h"

// The theme's now-playing text, drawn with GDI+ (which keeps the alpha it
// draws, as a per-pixel-alpha window needs) after the overlay. The lines are
// drawn once for a track, a theme and a scale, then only blended.

// Takes the text lines of the theme.ini at `path`; none for null (the
// built-in theme).
void LoadTextLayer(const wchar_t* path);
// Blends the lines, for displayState.nowPlaying at the frame's scale, over
// the frame. Nothing is drawn outside a line's box.
void BlendTextLayer(const FramePixels& target);
void ReleaseTextLayer();

// Whether GDI+ draws with the face of this name (installed faces only).
bool IsTextFaceInstalled(const std::wstring& face);
// The face a line with this face name (empty: the message font) is drawn in
// for `text`: the named face when installed and having every glyph, else the
// first installed face that has them, as the platform's font linking picks.
std::wstring TextFaceFor(const std::wstring& face, const std::wstring& text);
