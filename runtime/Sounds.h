#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// Sound effects: WAVE files loaded whole into the mixer, one handle per
// loaded file (duplicates share the data). While sound is disabled, loading
// and duplicating give null without a message.

class LumoSound;
using SoundHandle = LumoSound*;

// A name of 1 to 3 characters, or one whose second character is ":", is used
// as given; any other is taken from the sound folder. A name without
// extension gets ".wav". The global compound archive's entry of that file
// name is read when it has one, else the file.
LUMOGAME_API SoundHandle LoadSound(const char* name);
LUMOGAME_API SoundHandle DuplicateSound(SoundHandle sound);
LUMOGAME_API void DestroySound(SoundHandle sound);
// A count of 1 or more plays once from the current position, a negative
// count loops until stopped, 0 plays nothing (and succeeds).
LUMOGAME_API bool PlaySound(SoundHandle sound, int32_t count);
// Stops and rewinds to the start.
LUMOGAME_API bool StopSound(SoundHandle sound);
// Stops where it is; ResumeSound plays on by the stored count.
LUMOGAME_API bool PauseSound(SoundHandle sound);
LUMOGAME_API bool ResumeSound(SoundHandle sound);
LUMOGAME_API bool PlayingSound(SoundHandle sound);
// Positions in bytes of sample data; -1 on failure.
LUMOGAME_API int32_t GetSoundPosition(SoundHandle sound);
LUMOGAME_API int32_t SetSoundPosition(SoundHandle sound, int32_t position);
LUMOGAME_API int32_t GetSoundSize(SoundHandle sound);
// Decibels, -100 to 0 (clamped); answers the value set, 0 on failure.
LUMOGAME_API int32_t SetSoundVolume(SoundHandle sound, int32_t volume);
LUMOGAME_API int32_t GetSoundVolume(SoundHandle sound);
// -100 (left) to 100 (right), clamped; answers the value set, 0 on failure.
LUMOGAME_API int32_t SetSoundPan(SoundHandle sound, int32_t pan);
LUMOGAME_API int32_t GetSoundPan(SoundHandle sound);

// ---- Inside the run-time system ----

namespace platform {
class Audio;
}

// The start-up's sound step: settings, mixer, primary format, sound list,
// CD audio and mixer faders. False ends the start-up with code 10.
bool StartSoundDevice();
// Deletes the sound list, closes CD audio and the faders, releases the mixer.
void StopSoundDevice();
// The mixer, or null while sound is disabled.
platform::Audio* SoundMixer();
bool SoundEnabled();
