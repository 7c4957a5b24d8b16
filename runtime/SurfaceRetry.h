#pragma once

#include <cstdint>

#include "platform/Surface.h"

// The retry rule of every display operation: a lost surface is restored and
// the operation tried again while the restore succeeds; a busy or
// still-drawing surface is tried again at once; any other result ends it.
// The tries are capped: a surface that keeps answering busy, or whose restore
// reports success while it stays lost, would otherwise hold the game thread
// for ever. The caller logs the last result as its failure.
constexpr int32_t kSurfaceRetryLimit = 100;

inline bool IsSurfaceBusy(platform::SurfaceResult result) {
  return result == platform::SurfaceResult::SurfaceBusy || result == platform::SurfaceResult::WasStillDrawing;
}

template <typename Operation, typename Restore>
platform::SurfaceResult RetrySurfaceOperation(Operation&& operation, Restore&& restore) {
  platform::SurfaceResult result = platform::SurfaceResult::Ok;
  for (int32_t attempt = 0; attempt < kSurfaceRetryLimit; ++attempt) {
    result = operation();
    if (result == platform::SurfaceResult::SurfaceLost) {
      if (restore() != platform::SurfaceResult::Ok) {
        return result;
      }
      continue;
    }
    if (!IsSurfaceBusy(result)) {
      return result;
    }
  }
  return result;
}

// The rule with the surface to restore when the operation meets a lost one.
template <typename Operation>
platform::SurfaceResult RetryOnSurface(platform::Surface& restoreTarget, Operation&& operation) {
  return RetrySurfaceOperation(operation, [&restoreTarget] { return restoreTarget.Restore(); });
}

// Waits out busy answers only (a lock "with wait"); a lost surface ends it.
template <typename Operation>
platform::SurfaceResult RetryWhileBusy(Operation&& operation) {
  return RetrySurfaceOperation(operation, [] { return platform::SurfaceResult::SurfaceLost; });
}
