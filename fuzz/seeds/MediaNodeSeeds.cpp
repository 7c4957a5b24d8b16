#include <cstdint>
#include <filesystem>
#include <string>

#include "framework/LumoMediaNode.h"
#include "framework/LumoMovieNode.h"
#include "framework/LumoSoundNode.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"

namespace {

// The record of a media node as it is stored while its media is loaded. The
// seed writer runs without sound or movies, so the node stands in a handle
// value only while it is saved; it is never used as one.
std::string LoadedRecordOf(LumoMediaNode& node) {
  node.Data = 1;
  const std::string record = SeedRecordOf(node);
  node.Data = 0;
  return record;
}

}  // namespace

void WriteMediaNodeSeeds(const std::filesystem::path& folder) {
  // The fuzz target's level finds the sound "tone".
  LumoSoundNode tone;
  tone.SetName("tone");
  tone.SetRepeats(-1);
  const std::string looping = LoadedRecordOf(tone);
  WriteSeed(folder, "written-looping-sound.lmn", looping);

  LumoSoundNode unloaded;
  unloaded.SetName("tone");
  unloaded.SetRepeats(3);
  unloaded.LastPosition = 640;
  WriteSeed(folder, "written-unloaded-sound.lmn", SeedRecordOf(unloaded));

  LumoSoundNode flagged;
  flagged.SetName("tone");
  flagged.Flags |= 1;
  WriteSeed(folder, "written-flagged-sound.lmn", LoadedRecordOf(flagged));

  LumoSoundNode missing;
  missing.SetName("absent");
  WriteSeed(folder, "written-missing-sound.lmn", LoadedRecordOf(missing));

  LumoMovieNode movie;
  movie.SetName("intro.avi");
  movie.SetRepeats(2);
  WriteSeed(folder, "written-movie.lmn", LoadedRecordOf(movie));

  WriteSeed(folder, "damaged-cut-in-data.lmn", looping.substr(0, looping.size() - 1));
  WriteSeed(folder, "damaged-cut-short.lmn", looping.substr(0, looping.size() / 2));
}
