// A saved game loaded into a running one, as the game program loads a save:
// the input is the bytes LogicLoad reads. A load that fails must leave the
// running logic as it was, saving the same bytes; a load that succeeds must
// save again, load what it saved and run a few frames.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "fuzz/LogicGame.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"

namespace {

constexpr int32_t kFramesAfterLoad = 3;

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

  FuzzInputStream input(data, size);
  if (!input.Usable() || !LogicLoad(&input.stream)) {
    FuzzRequire(TheLogic() == running, "a refused load keeps the running logic");
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
  LogicStop();
  return 0;
}
