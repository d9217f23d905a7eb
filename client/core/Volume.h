#pragma once

// Playback volume, 0 to 100, kept in the data file "Volume" as decimal digits without a line end.
extern int g_Volume;

// Reads g_Volume from "Volume". A missing or unreadable file gives 100, which is then written back; content that
// is not a decimal number gives 0. The value is not range-checked.
void LoadVolume();

// Writes g_Volume to "Volume"; a failure is not reported (the next start falls back as above).
void SaveVolume();
