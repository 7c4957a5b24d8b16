// Writes the seed corpora of the fuzz targets: `FuzzSeedWriter <folder>
// [target]` fills <folder>/<target>/ for every target (or the one named).
// The corpora in the repository come from this program; regenerate them with
// the build's `fuzz_seeds` target after a writer changes.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "fuzz/seeds/Seeds.h"

namespace {

struct SeedTarget {
  const char* name;
  void (*write)(const std::filesystem::path& folder);
};

constexpr SeedTarget kTargets[] = {
    {"Config", WriteConfigSeeds},
    {"Image", WriteImageSeeds},
    {"Bitmap", WriteBitmapSeeds},
    {"Stream", WriteStreamSeeds},
    {"Compound", WriteCompoundSeeds},
    {"Wave", WriteWaveSeeds},
    {"Movie", WriteMovieSeeds},
    {"CdTrack", WriteCdTrackSeeds},
    {"Alpha", WriteAlphaSeeds},
    {"SectorShape", WriteSectorShapeSeeds},
    {"KnowledgeMap", WriteKnowledgeMapSeeds},
    {"KnowledgeMapCreate", WriteKnowledgeMapCreateSeeds},
    {"LogicRecord", WriteLogicRecordSeeds},
    {"LogicMap", WriteLogicMapSeeds},
    {"Order", WriteOrderSeeds},
    {"BSPStream", WriteBSPStreamSeeds},
    {"ObjectFile", WriteObjectFileSeeds},
    {"ArchiveMedia", WriteArchiveMediaSeeds},
    {"Greeting", WriteGreetingSeeds},
    {"ConnectionRead", WriteConnectionReadSeeds},
    {"HostAnswer", WriteHostAnswerSeeds},
    {"ServerRequest", WriteServerRequestSeeds},
    {"GraphicNode", WriteGraphicNodeSeeds},
    {"Sequence", WriteSequenceSeeds},
    {"MediaNode", WriteMediaNodeSeeds},
    {"LogicLoad", WriteLogicLoadSeeds},
    {"TriggerEditor", WriteTriggerEditorSeeds},
    {"ThingResource", WriteThingResourceSeeds},
    {"ColorMaskApply", WriteColorMaskApplySeeds},
    {"CommsServerReader", WriteCommsServerReaderSeeds},
    {"CommsClientReader", WriteCommsClientReaderSeeds},
    {"Bot", WriteBotSeeds},
    {"ResourceSet", WriteResourceSetSeeds},
};

}  // namespace

bool WriteSeed(const std::filesystem::path& folder, const std::string& name,
               const std::string& bytes) {
  std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "Cannot write the seed %s\n", (folder / name).c_str());
    return false;
  }
  return true;
}

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "Usage: %s <corpus folder> [target]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = std::filesystem::absolute(argv[1]);
  bool found = false;
  for (const SeedTarget& target : kTargets) {
    if (argc == 3 && std::string(argv[2]) != target.name) {
      continue;
    }
    found = true;
    const std::filesystem::path folder = root / target.name;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
      std::fprintf(stderr, "Cannot create %s\n", folder.c_str());
      return 1;
    }
    target.write(folder);
  }
  if (!found) {
    std::fprintf(stderr, "No such target: %s\n", argv[2]);
    return 2;
  }
  return 0;
}
