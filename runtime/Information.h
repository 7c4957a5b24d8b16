#pragma once

#include <cstdint>

#include "runtime/DebugLog.h"

// The records the game program hands to the run-time system at start-up.

using tTerminateQuery = bool (*)();  // true lets the game end
using tNotifyCallback = void (*)();  // task switch, restore, destruct, clean-up
using tConstructCallback = bool (*)();  // false: the game cannot be built

// "Lumo" as one multi-character value, the first character in the high byte.
constexpr uint32_t kInformationSignature = 0x4C756D6F;

// The game's application record. Every field is a 32-bit value in the record
// of the 32-bit original; here the texts and callbacks are host pointers, so
// the full record is sizeof(tInformation) bytes.
struct tInformation {
  uint32_t size;            // bytes of the record the caller filled in
  uint32_t signature;       // kInformationSignature
  uint32_t version;         // engine version, a byte each: major, minor, release, build
  const char* language;     // "English"
  tTerminateQuery terminateQuery;
  const char* buildKind;    // "release"
  tNotifyCallback taskSwitch;  // the player pressed a shortcut that leaves the game
  tNotifyCallback restore;     // the lost display surfaces were restored
};

// The start record. The run-time system keeps the pointer: the record must
// live as long as the process.
struct tStartRecord {
  void* instance;                // the program's instance (unused on this platform)
  const char* commandLine;
  int32_t showMode;              // 0 keeps the main window hidden
  const char* className;         // message-box caption, and the name in their texts
  const char* windowTitle;       // also the program's name in the banner
  const char* configurationName; // the ini file
  tDebugMode defaultDebugMode;   // used when the configuration names no mode
};

enum tRTSResult : int32_t {
  RTSSuccess = 0,
  RTSGameAlreadyRunning = 2,
  RTSExceptionFailure = 3,
  RTSGameConstructionFailure = 4,
  RTSGameDestructionFailure = 5,
  RTSDebugFailure = 6,
  RTSWindowsFailure = 7,
  RTSDirectDrawFailure = 8,
  RTSInputFailure = 9,
  RTSDirectSoundFailure = 10,
  RTSDirectShowFailure = 11,
  RTSMissingCDROM = 12,
  RTSGameAborted = 13,
  RTSMemoryLeak = 14,
};

// The exit report's text of a code.
const char* RTSResultText(int32_t code);
