// A saved game loaded into a running one, as the game program loads a save:
// the input is the bytes LogicLoad reads. A load that fails must leave the
// running logic as it was, saving the same bytes; a load that succeeds must
// save again, load what it saved, run kFramesAfterLoad frames (a whole
// bucket wheel of the plan) and save again. A failed load also
// leaves the process-wide state (current logic, map and sector map, the
// technology level, the generator, the debug source) as it was.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Random.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "fuzz/LogicGame.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/ThingInfo.h"
#include "logic/world/YLThing.h"
#include "navigation/YLSectors.h"

namespace {

constexpr int32_t kFramesAfterLoad = 30;

// What a load may change outside the logic object.
struct ProcessView {
  const CLogic* logic;
  const void* map;
  const YLSectors* sectors;
  int32_t technologyLevel;
  uint32_t randomState;
  const ThingInfoDebugSource* debugSource;
  bool operator==(const ProcessView&) const = default;
};

ProcessView Process() {
  return {TheLogic(),           YLThing::GetMap(), GetCurrentSectorMap(), CLogic::GetTechnologyLevel(),
          GetRandomSeed(), ThingInfo::GetDebugSource()};
}

bool LoadLogic(const std::string& bytes) {
  FuzzInputStream input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return input.Usable() && LogicLoad(&input.stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartSmallLogic(0);
  const std::string before = SavedLogic();
  FuzzRequire(!before.empty(), "the running logic saves");
  const CLogic* running = TheLogic();
  const ProcessView process = Process();

  FuzzInputStream input(data, size);
  if (!input.Usable() || !LogicLoad(&input.stream)) {
    FuzzRequire(TheLogic() == running, "a refused load keeps the running logic");
    FuzzRequire(Process() == process, "a refused load leaves the process-wide state as it was");
    FuzzRequire(SavedLogic() == before, "a refused load leaves the running logic saving the same bytes");
    LogicStop();
    return 0;
  }
  const std::string loaded = SavedLogic();
  FuzzRequire(!loaded.empty(), "a loaded logic saves");
  FuzzRequire(LoadLogic(loaded), "a saved logic loads again");
  for (int32_t frame = 0; frame < kFramesAfterLoad; ++frame) {
    LogicCompute();
  }
  FuzzRequire(!SavedLogic().empty(), "a loaded logic saves after running");
  LogicStop();
  return 0;
}
