#pragma once

void ReleaseCover();
// Replaces the cover with the current track's: embedded picture first, then
// the track folder's picture files. URLs get none.
void RefreshCover();
