#include "runtime/Movies.h"

#include <memory>

#include "base/DebugFormat.h"
#include "base/LumoObject.h"
#include "runtime/DebugLog.h"
#include "runtime/DisplaySeams.h"
#include "runtime/LumoMovie.h"

namespace {

std::unique_ptr<tList, tObjectDestroyer> movies;

// The movie of a handle, or null after the export's null-pointer line.
LumoMovie* CheckedMovie(const char* caller, MovieHandle movie) {
  if (movie == nullptr) {
    DebugPrint("%s Null pointer to the movie specified\n", caller);
  }
  return movie;
}

}  // namespace

bool StartMovieList() {
  movies.reset(new tList());
  DebugMessage("Movie list created\n");
  return true;
}

void StopMovieList() {
  if (!movies) {
    return;
  }
  for (tNode* node = movies->first; node != nullptr; node = node->next) {
    static_cast<LumoMovie*>(node)->Close("CloseMovie()");
  }
  movies.reset();
  DebugMessage("Movie list deleted\n");
}

// The display's screen update draws the frame due of every playing movie.
void UpdatePlayingMovies(const char* caller) {
  if (!movies) {
    return;
  }
  for (tNode* node = movies->first; node != nullptr; node = node->next) {
    auto* movie = static_cast<LumoMovie*>(node);
    if (movie->IsPlaying(caller)) {
      movie->Update(caller);
    }
  }
}

MovieHandle OpenMovie(const char* name, int32_t& width, int32_t& height, int32_t& duration) {
  if (!movies) {
    DebugMessage("OpenMovie() No movie list\n");
    return nullptr;
  }
  auto* movie = new LumoMovie();
  if (movies->Append(movie) != movie || movie->owner != movies.get()) {
    DebugMessage("OpenMovie() Cannot append the movie to the list\n");
    DestroyObject(movie);
    return nullptr;
  }
  if (!movie->Open("OpenMovie()", name)) {
    DestroyObject(movie);
    return nullptr;
  }
  width = movie->Width();
  height = movie->Height();
  duration = movie->GetDuration("OpenMovie()");
  return movie;
}

void CloseMovie(MovieHandle movie) {
  if (!movies) {
    DebugMessage("CloseMovie() No movie list\n");
    return;
  }
  if (CheckedMovie("CloseMovie()", movie) == nullptr) {
    return;
  }
  movie->Close("CloseMovie()");
  DestroyObject(movie);
}

bool SetMovieDisplay(MovieHandle movie, GraphicHandle graphic) {
  return CheckedMovie("SetMovieDisplay()", movie) != nullptr && movie->SetDisplay("SetMovieDisplay()", graphic);
}

int32_t GetMoviePosition(MovieHandle movie) {
  return CheckedMovie("GetMoviePosition()", movie) != nullptr ? movie->GetPosition("GetMoviePosition()") : -1;
}

int32_t SetMoviePosition(MovieHandle movie, int32_t position) {
  return CheckedMovie("SetMoviePosition()", movie) != nullptr ? movie->SetPosition("SetMoviePosition()", position)
                                                              : -1;
}

int32_t GetMovieDuration(MovieHandle movie) {
  return CheckedMovie("GetMovieDuration()", movie) != nullptr ? movie->GetDuration("GetMovieDuration()") : 0;
}

bool PlayingMovie(MovieHandle movie) {
  return CheckedMovie("PlayingMovie()", movie) != nullptr && movie->IsPlaying("PlayingMovie()");
}

bool PlayMovie(MovieHandle movie, int32_t playFlag) {
  return CheckedMovie("PlayMovie()", movie) != nullptr && movie->Play("PlayMovie()", playFlag);
}

bool ResumeMovie(MovieHandle movie) {
  return CheckedMovie("ResumeMovie()", movie) != nullptr && movie->Resume("ResumeMovie()");
}

bool PauseMovie(MovieHandle movie) {
  return CheckedMovie("PauseMovie()", movie) != nullptr && movie->Pause("PauseMovie()");
}

bool StopMovie(MovieHandle movie) {
  return CheckedMovie("StopMovie()", movie) != nullptr && movie->Stop("StopMovie()");
}
