// Stored media nodes (sound and movie nodes): the input is the bytes of one
// object record, read while a level runs whose sound list finds the sound
// "tone" by name in the scratch folder. It is read three times: into the
// level's sound list, into its movie list and into no owner. A list takes
// only its own kind; a loaded node has no receiver (a sound or movie node
// is not started either), keeps a
// repeat count of at least -1, is indexed by its name in the list it joined,
// and holds a sound only when it has a name. Saved and loaded again, a node
// writes the same bytes, except that a node with bit 0 of its flags set
// stores its sound as only recorded and comes back without it (once: the
// next round trip is the same). Nothing is left in the lists.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoMovieNode.h"
#include "framework/LumoSoundNode.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "fuzz/FuzzFiles.h"
#include "platform/FileSystem.h"
#include "runtime/Folders.h"
#include "runtime/Movies.h"
#include "runtime/Sounds.h"
#include "tests/support/MediaWriters.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// An engine with one running level whose sound list loads from the scratch
// folder, with sound and movies started, made once.
LumoLevel* RunningLevel() {
  static LumoLevel* const level = [] {
    StartFuzzDisplay();
    FuzzRequire(StartSoundDevice() && SoundEnabled(), "the sound device starts");
    FuzzRequire(StartMovieList(), "the movie list starts");
    const std::string folder = platform::GameFileName(FuzzFilePath(""));
    const std::string withSeparator = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    FuzzRequire(SetFolderName(FolderSound, withSeparator.c_str()), "the scratch folder is the sound folder");
    const std::vector<int16_t> samples(80, 1000);
    const testing_support::Bytes wave =
        testing_support::PcmWave(1, 8000, 16, testing_support::Samples16(samples));
    WriteFuzzFile("tone.wav", wave.data(), wave.size());
    auto* engine = new LumoEngine;
    auto* made = new LumoLevel;
    engine->Append(made);
    made->Populate();
    engine->Level = made;
    FuzzRequire(made->SoundList != nullptr && made->MovieList != nullptr, "the level has sound and movie lists");
    return made;
  }();
  return level;
}

std::string RecordOf(LumoObject& object) {
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenNew(64, 1, 0), "a memory stream opens");
  stream.SetGrowth(4096);
  if (!object.SaveObject(&stream, 0)) {
    return "";
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

LumoObject* Load(const uint8_t* data, size_t size, LumoObject* owner) {
  if (size == 0) {
    return nullptr;
  }
  LumoMemoryStream stream;
  FuzzRequire(stream.OpenNew(static_cast<uint32_t>(size), 1, 0), "a memory stream opens");
  FuzzRequire(stream.WriteBlock(data, static_cast<uint32_t>(size)), "the input is copied");
  stream.SetPosition(0);
  return LoadObject(&stream, owner);
}

// Checks a loaded object; answers its record when it is a media node.
std::string Checked(LumoObject* object, LumoList* list) {
  if (object == nullptr) {
    return "";
  }
  auto* media = dynamic_cast<LumoMediaNode*>(object);
  if (media == nullptr) {
    FuzzRequire(list == nullptr, "a media list takes only media nodes");
    return "";
  }
  FuzzRequire(media->Receiver == nullptr, "a loaded node has no receiver");
  // The kinds store their media last, and loading it ends any stored start
  // (a plain media node has no media and keeps what it stored).
  if (dynamic_cast<LumoSoundNode*>(media) != nullptr || dynamic_cast<LumoMovieNode*>(media) != nullptr) {
    FuzzRequire(!media->Started, "a loaded sound or movie node is not started");
  }
  FuzzRequire(media->Repeats >= -1, "a repeat count is never below -1");
  FuzzRequire(media->Data == 0 || media->Name != nullptr, "media are loaded only for a named node");
  if (list != nullptr) {
    FuzzRequire(media->parent == list, "a taken node is an item of its list");
    FuzzRequire(media->Name == nullptr || list->FindByName(media->Name) == media, "a taken node is found by name");
  }
  return RecordOf(*media);
}

// The record of the node a record loads (it must load).
std::string Reloaded(const std::string& record) {
  ObjectOwner again(Load(reinterpret_cast<const uint8_t*>(record.data()), record.size(), nullptr));
  FuzzRequire(again != nullptr, "a saved node loads again");
  return RecordOf(*again);
}

void CheckRoundTrip(const std::string& record, bool onlyRecorded) {
  if (record.empty()) {
    return;
  }
  const std::string second = Reloaded(record);
  FuzzRequire(onlyRecorded || second == record, "a node saved again writes the same bytes");
  FuzzRequire(Reloaded(second) == second, "a node's second round trip writes the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LumoLevel* level = RunningLevel();
  LumoList* const owners[] = {level->SoundList.get(), level->MovieList.get(), nullptr};
  for (LumoList* owner : owners) {
    ObjectOwner loaded(Load(data, size, owner));
    auto* media = dynamic_cast<LumoMediaNode*>(loaded.get());
    const bool onlyRecorded = media != nullptr && media->Data != 0 && (media->Flags & 1) != 0;
    CheckRoundTrip(Checked(loaded.get(), owner), onlyRecorded);
    loaded.reset();
    FuzzRequire(level->SoundList->Count == 0 && level->MovieList->Count == 0, "nothing is left in the lists");
  }
  return 0;
}
