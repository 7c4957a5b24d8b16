#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "runtime/Graphics.h"

// Movies: AVI files with uncompressed video frames and PCM sound, decoded
// into a graphic that the game draws like any other; the display's
// BeginScreenUpdate draws the frames that are due.

class LumoMovie;
using MovieHandle = LumoMovie*;

// Opens a movie; gives its size in pixels and its duration in milliseconds.
// Null (logged) when it is missing or holds content the layer does not play.
LUMOGAME_API MovieHandle OpenMovie(const char* name, int32_t& width, int32_t& height, int32_t& duration);
LUMOGAME_API void CloseMovie(MovieHandle movie);
// The graphic must have the movie's size.
LUMOGAME_API bool SetMovieDisplay(MovieHandle movie, GraphicHandle graphic);
// Milliseconds; -1 on failure.
LUMOGAME_API int32_t GetMoviePosition(MovieHandle movie);
LUMOGAME_API int32_t SetMoviePosition(MovieHandle movie, int32_t position);
// Milliseconds; 0 on failure.
LUMOGAME_API int32_t GetMovieDuration(MovieHandle movie);
LUMOGAME_API bool PlayingMovie(MovieHandle movie);
// Stores the play flag and resumes; a flag of 0 leaves the movie stopped.
LUMOGAME_API bool PlayMovie(MovieHandle movie, int32_t playFlag);
LUMOGAME_API bool ResumeMovie(MovieHandle movie);
LUMOGAME_API bool PauseMovie(MovieHandle movie);
// Pauses and goes back to the start.
LUMOGAME_API bool StopMovie(MovieHandle movie);

// ---- Inside the run-time system ----

// The start-up's movie step: creates the movie list (false gives code 11).
bool StartMovieList();
// Closes every movie and deletes the list.
void StopMovieList();
