#include "runtime/RTSBanner.h"

#include <string>

#include "base/DebugFormat.h"
#include "platform/System.h"
#include "platform/Version.h"
#include "runtime/DebugLog.h"
#include "runtime/Modules.h"
#include "runtime/RTSState.h"

namespace {

const char* TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

void WriteLibraryVersion() {
  const platform::FileVersion version = platform::LibraryVersion();
  if (version.major > 255 || version.minor > 255 || version.release > 255 || version.build > 255) {
    ErrorPrint("RTS version out of range (Version=%i.%i.%i.%i)\n", static_cast<int>(version.major),
               static_cast<int>(version.minor), static_cast<int>(version.release),
               static_cast<int>(version.build));
  }
  DebugPrint("***** LumoGame RTS %i.%i.%i.%i (English release build)\n", static_cast<int>(version.major),
             static_cast<int>(version.minor), static_cast<int>(version.release),
             static_cast<int>(version.build));
}

void WriteMultimediaLevel(uint32_t level) {
  if (level == 0) {
    ErrorMessage("DirectX not installed\n");
  }
  DebugPrint("***** Using DirectX %s\n", MultimediaLevelText(level));
}

// The real facts of the system: kernel name and release, and the language
// of the user's locale.
void WriteSystem() {
  const platform::SystemVersion system = platform::GetSystemVersion();
  DebugPrint("***** Running on %s %i.%i.%i %s", system.name.c_str(), system.major, system.minor,
             system.build, system.service.c_str());
  DebugPrint(" (%s)\n", platform::GetLanguageName().c_str());
  // What the input start reads as running on NT: the kernel's low-level
  // keyboard services, which every Linux system has.
  RTS().runningOnNT = true;
}

void WriteProgramVersion(const tInformation& information) {
  const char* title = TextOrEmpty(RTS().startRecord != nullptr ? RTS().startRecord->windowTitle : nullptr);
  if (information.version < 0x01060000) {
    WarningMessage("The game does not contain any resources\n");
    return;
  }
  platform::FileVersion version;
  if (!platform::ProgramVersion(version)) {
    WarningMessage("The game does not contain version information\n");
    return;
  }
  DebugPrint("***** %s %i.%i.%i.%i\n", title, static_cast<int>(version.major), static_cast<int>(version.minor),
             static_cast<int>(version.release), static_cast<int>(version.build));
}

void WriteApplicationRecord() {
  const RTSState& state = RTS();
  if (!state.informed || state.information.signature != kInformationSignature) {
    return;
  }
  const tInformation& information = state.information;
  const uint32_t version = information.version;
  DebugPrint("***** Serving the DirectLumo Games Engine %i.%i.%i.%i (%s", static_cast<int>(version >> 24),
             static_cast<int>((version >> 16) & 0xFF), static_cast<int>((version >> 8) & 0xFF),
             static_cast<int>(version & 0xFF), TextOrEmpty(information.language));
  if (version >= 0x01040000) {
    DebugPrint(" %s build)\n", TextOrEmpty(information.buildKind));
  } else {
    DebugMessage(")\n");
  }
  WriteProgramVersion(information);
}

void WriteDate() {
  std::string date;
  std::string time;
  if (platform::FormatLocalDateAndTime(date, time)) {
    DebugPrint("***** Debug log (%s %s)\n", date.c_str(), time.c_str());
  } else {
    DebugMessage("***** Debug log (Cannot show the date and time)\n");
  }
}

}  // namespace

const char* MultimediaLevelText(uint32_t level) {
  switch (level) {
    case 0x100: return "1.0";
    case 0x200: return "2.0";
    case 0x300: return "3.0";
    case 0x500: return "5.0";
    case 0x600: return "6.0";
    case 0x601: return "6.1";
    case 0x700: return "7.0";
    case 0x800: return "8.0 (or better)";
    default: return "(unknown version)";
  }
}

void WriteBanner() {
  DebugMessage("***** Debug log of the LumoGame run-time library\n");
  DebugMessage("***** RTS (Run-Time System) of the DirectLumo Games Engine\n");
  WriteLibraryVersion();
  const uint32_t level = GetDirectXVersion();
  WriteMultimediaLevel(level);
  WriteSystem();
  if (level < 0x800) {
    ErrorMessage(
        "The game does not support the currently installed version of DirectX. Please install DirectX "
        "8.0 or better.\n");
  }
  WriteApplicationRecord();
  WriteDate();
}
