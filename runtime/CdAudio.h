#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// Music from the audio tracks of the game disc, and the machine mixer's
// master (speaker) and CD-audio volumes. Track numbers count from the first
// audio track: on a disc whose first track holds data, track 1 is the
// disc's second track.

// The number of audio tracks; 0 on failure. Opens the disc when needed.
LUMOGAME_API uint32_t CountCDAudio();
// Plays from the first to the last track given (0 or beyond the disc: to the
// end; a first track of 0 plays from the first audio track).
LUMOGAME_API bool PlayCDAudio(uint32_t firstTrack, uint32_t lastTrack);
// Stops and closes the disc; false when it is not open.
LUMOGAME_API bool StopCDAudio();
LUMOGAME_API bool PauseCDAudio();
// Plays on from where the music was paused.
LUMOGAME_API bool ResumeCDAudio();
// The track playing, counted from the first audio track; 0 when none.
LUMOGAME_API uint32_t PlayingCDAudio();

// Volumes from -100 (the fader at its minimum) to 0 (at its maximum); 0
// without a fader.
LUMOGAME_API int32_t GetMasterVolume();
LUMOGAME_API int32_t GetCDAudioVolume();
// Answer the fader value set; 0 without a fader.
LUMOGAME_API uint32_t SetMasterVolume(int32_t volume);
LUMOGAME_API uint32_t SetCDAudioVolume(int32_t volume);

// ---- Inside the run-time system ----

// The fader formulas: a fader value within minimum..maximum as a volume of
// -100..0, and back. A fader whose maximum does not lie above its minimum
// answers 0 either way.
int32_t FaderToVolume(uint32_t value, uint32_t minimum, uint32_t maximum);
uint32_t VolumeToFader(int32_t volume, uint32_t minimum, uint32_t maximum);

// Part of the sound start: opens the disc when [Source] Audio asks for CD
// audio, and finds the mixer's faders.
void StartCdAudioAndMixer(const char* configurationName);
void StopCdAudioAndMixer();
