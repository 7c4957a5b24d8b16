#include "platform/Backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Testing.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"

namespace platform {
namespace {

std::shared_ptr<Backend> currentBackend;
std::string forcedBackend;

bool EnvironmentIs(const char* name, const char* value) {
  const char* text = std::getenv(name);
  return text != nullptr && std::strcmp(text, value) == 0;
}

bool EnvironmentSet(const char* name) {
  const char* text = std::getenv(name);
  return text != nullptr && text[0] != '\0';
}

// Headless when asked for, or when SDL would find no display to open.
bool WantsHeadless() {
  if (EnvironmentIs("YOB_HEADLESS", "1")) {
    return true;
  }
  return !EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY") &&
         !EnvironmentSet("SDL_VIDEODRIVER");
}

std::unique_ptr<Backend> ChooseBackend() {
  const bool headless = forcedBackend.empty() ? WantsHeadless() : forcedBackend == "headless";
  if (!headless) {
    if (auto backend = sdl::CreateSdlBackend()) {
      return backend;
    }
    std::fprintf(stderr, "The SDL back end cannot start; running headless\n");
  }
  return headless::CreateHeadlessBackend();
}

}  // namespace

Backend& GetBackend() {
  if (!currentBackend) {
    currentBackend = ChooseBackend();
  }
  return *currentBackend;
}

void ReleaseBackend() { currentBackend.reset(); }

namespace testing {

void UseBackend(const char* name) {
  currentBackend.reset();
  forcedBackend = name != nullptr ? name : "";
}

}  // namespace testing
}  // namespace platform
