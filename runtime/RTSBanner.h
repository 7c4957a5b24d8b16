#pragma once

#include <cstdint>

// Writes the start-up banner to the log: the library's version, the
// multimedia level, the system, the game's record and the date. A version
// out of range or a multimedia level below 8.0 ends the game.
void WriteBanner();

// The text the banner gives a multimedia level.
const char* MultimediaLevelText(uint32_t level);
