#include "runtime/RTSDevices.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/DebugFormat.h"
#include "platform/DeviceFaults.h"
#include "platform/System.h"
#include "runtime/Compound.h"
#include "runtime/DebugLog.h"
#include "runtime/FileTypes.h"
#include "runtime/Folders.h"
#include "runtime/Input.h"
#include "runtime/Display.h"
#include "runtime/Movies.h"
#include "runtime/RTSBanner.h"
#include "runtime/RTSState.h"
#include "runtime/Sounds.h"
#include "runtime/StartupProfile.h"

namespace {

constexpr const char* kMutexName = "DirectLumo";

const char* ConfigurationName() {
  const tStartRecord* start = RTS().startRecord;
  return start != nullptr ? start->configurationName : nullptr;
}

// ---- Debug log ----

void StartLogFromConfiguration() {
  DebugSettings settings;
  ReadStartupText(ConfigurationName(), "Debug", "Flush", settings.flush);
  ReadStartupText(ConfigurationName(), "Debug", "Level", settings.level);
  ReadStartupText(ConfigurationName(), "Debug", "Mode", settings.mode);
  const tStartRecord* start = RTS().startRecord;
  StartDebugLog(settings, start != nullptr ? start->defaultDebugMode : DebugModeOff);
}

// ---- System start, step by step ----

bool comStarted = false;

bool CheckInstanceLock() {
  const platform::InstanceLock* lock = RTS().instanceLock.get();
  if (lock == nullptr || !lock->Held()) {
    FailureBox("Cannot create RTS identification mutex (Name=%s)\n", kMutexName);
    return false;
  }
  DebugPrint("RTS identification mutex created (Name=%s, Handle=%X)\n", kMutexName,
             static_cast<unsigned>(lock->Handle()));
  return true;
}

void LogMemoryStatus() {
  platform::MemoryStatus memory;
  if (GetDebugMode() == DebugModeOff || !platform::GetMemoryStatus(memory)) {
    return;
  }
  const auto megabytes = [](uint64_t bytes) { return static_cast<unsigned>(bytes >> 20); };
  DebugPrint("Physical memory (Total=%uMb, Available=%uMb, Used=%uMb)\n", megabytes(memory.totalPhysical),
             megabytes(memory.availablePhysical),
             megabytes(memory.totalPhysical - memory.availablePhysical));
  DebugPrint("Paging file (Total=%uMb, Available=%uMb, Used=%uMb)\n", megabytes(memory.totalPaging),
             megabytes(memory.availablePaging), megabytes(memory.totalPaging - memory.availablePaging));
}

bool LogMemory() {
  LogMemoryStatus();
  return true;
}

// The layer's objects are made directly; there is no component library to
// start, but the log keeps its lines so that start and exit read the same.
bool StartCom() {
  comStarted = true;
  DebugMessage("COM library initialized\n");
  return true;
}

// The display keeps the "DirectDraw" section (sizes snapped to a standard
// mode); the window is made from it.
bool ReadDisplaySettings() {
  RTSState& state = RTS();
  const tDisplaySettings& settings = LoadDisplaySettings(ConfigurationName());
  state.windowed = settings.Windowed;
  state.screenWidth = settings.ScreenWidth;
  state.screenHeight = settings.ScreenHeight;
  state.bitsPerPixel = settings.BitsPerPixel;
  state.screenLeft = settings.ScreenLeft;
  state.screenTop = settings.ScreenTop;
  DebugMessage(state.windowed ? "Using windowed mode\n" : "Using full screen mode\n");
  return true;
}

bool CreateMainWindow() {
  RTSState& state = RTS();
  platform::WindowSettings settings;
  const tStartRecord* start = state.startRecord;
  settings.title = start != nullptr && start->windowTitle != nullptr ? start->windowTitle : "";
  settings.windowed = state.windowed;
  settings.width = state.screenWidth;
  settings.height = state.screenHeight;
  if (state.windowed) {
    settings.left = state.screenLeft;
    settings.top = state.screenTop;
  }
  state.mainWindow = platform::Window::Create(settings);
  if (!state.mainWindow) {
    FailureBox("Cannot create the main window\n");
    return false;
  }
  if (start == nullptr || start->showMode != 0) {
    state.mainWindow->Show();
  }
  DebugPrint("Main window registered, created, shown and updated (Handle=%X)\n",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(state.mainWindow.get())));
  return true;
}

bool TakeProgramFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  if (error) {
    FailureBox("Cannot get the program folder\n");
    return false;
  }
  RTS().programFolder = folder.string();
  return true;
}

// The folders and the CD drive; a CD that the media or the audio need but
// that is missing fails the system start.
bool SetUpFolders() {
  std::string failure;
  if (!StartFolders(ConfigurationName(), failure)) {
    FailureBox("%s", failure.c_str());
    return false;
  }
  return true;
}

// The global compound archive named by [Source] Name; one that is named but
// does not open fails the system start.
bool OpenTheGlobalCompound() {
  const std::string& name = GetGlobalCompoundName();
  if (!OpenGlobalCompound(ConfigurationName(), name.c_str())) {
    FailureBox("Cannot open the global compound file (Name=%s)\n", name.c_str());
    return false;
  }
  return true;
}

bool SetUpFileTypes() {
  StartFileTypes(ConfigurationName());
  return true;
}

// The steps of the system start, in order; the first that fails ends it.
constexpr bool (*kSystemSteps[])() = {
    CheckInstanceLock, LogMemory,         StartCom,     ReadDisplaySettings,
    CreateMainWindow,  TakeProgramFolder, SetUpFolders, OpenTheGlobalCompound,
    SetUpFileTypes,
};

bool StartSystem() {
  for (bool (*step)() : kSystemSteps) {
    if (!step()) {
      return false;
    }
  }
  return true;
}

void SystemExit() {
  RTSState& state = RTS();
  if (state.windowed && state.mainWindow) {
    const char* file = ConfigurationName();
    WriteStartupText(file, "DirectDraw", "ScreenLeft", std::to_string(state.mainWindow->Left()).c_str());
    WriteStartupText(file, "DirectDraw", "ScreenTop", std::to_string(state.mainWindow->Top()).c_str());
  }
  CloseGlobalCompound();
  StopFileTypes();
  StopFolders();
  state.inputOn = false;
  if (comStarted) {
    comStarted = false;
    DebugMessage("COM library closed\n");
    LogMemoryStatus();
  }
  state.mainWindow.reset();
  state.instanceLock.reset();
}

// ---- The device table ----

struct tRTSDevice {
  const char* name;       // as platform::DeviceStartRefused knows it
  int32_t failureCode;    // the start-up's result when the start fails
  bool (*start)();        // null: nothing to start yet
  void (*stop)();         // null: nothing to stop
};

constexpr tRTSDevice kDevices[] = {
    {"system", RTSWindowsFailure, StartSystem, SystemExit},
    {"display", RTSDirectDrawFailure, StartDisplay, StopDisplay},
    {"input", RTSInputFailure, StartInputDevice, StopInputDevice},
    // ---- Sound (with CD audio and the mixer's faders) and the movie list ----
    {"sound", RTSDirectSoundFailure, StartSoundDevice, StopSoundDevice},
    {"movie", RTSDirectShowFailure, StartMovieList, StopMovieList},
};

bool StartDevice(const tRTSDevice& device) {
  if (platform::DeviceStartRefused(device.name)) {
    FailureBox("The %s device refused to start\n", device.name);
    return false;
  }
  return device.start == nullptr || device.start();
}

}  // namespace

int32_t StartDevices() {
  StartLogFromConfiguration();
  WriteBanner();
  DebugMessage("\nInitializing the RTS...\n");
  for (const tRTSDevice& device : kDevices) {
    if (!StartDevice(device)) {
      return device.failureCode;
    }
  }
  DebugMessage("RTS initialized\n");
  return RTSSuccess;
}

void StopDevices() {
  for (auto device = std::rbegin(kDevices); device != std::rend(kDevices); ++device) {
    if (device->stop != nullptr) {
      device->stop();
    }
  }
}
