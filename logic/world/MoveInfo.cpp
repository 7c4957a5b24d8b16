#include "logic/world/MoveInfo.h"

#include <cstring>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/world/YLThing.h"

namespace {

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Move codes from here on are vehicle moves, timed by the vehicle's name.
constexpr int32_t kFirstVehicleMoveCode = 15;

}  // namespace

// ---- MoveInfo ----

MoveInfo::MoveInfo() { MoveInfo::SetDefaults(); }

const char* MoveInfo::GetClassName() const { return "MoveInfo"; }

void MoveInfo::SetDefaults() {
  name = "MoveRest";
  code = 0;
  step = 0;
  turn = 0;
  SetAllTimes(1);
  stamina = -0.01f;
}

uint8_t MoveInfo::TimeOfType(int32_t type) const { return times[IsTimedType(type) ? type : 0]; }

uint8_t MoveInfo::VehicleMoveTime(int32_t type) const {
  // A type with no name in the logic's library cannot be told apart: it is
  // the handled fault of this rule and takes entry 0.
  try {
    const CLogic* logic = YLThing::GetLogic();
    const char* typeName = logic != nullptr ? logic->GetString(type) : nullptr;
    if (typeName == nullptr) {
      throw std::invalid_argument("no type name");
    }
    if (StartsWith(typeName, "Vehicle025")) {
      return times[1];
    }
    if (StartsWith(typeName, "Vehicle03") && typeName[9] != '8') {
      return times[2];
    }
    if (StartsWith(typeName, "Vehicle021")) {
      return times[3];
    }
    return times[0];
  } catch (...) {
    DebugPrint("MoveInfo::GetMoveTime handled exception\n");
    return times[0];
  }
}

// Types outside the table, negative ones included, never index it.
uint8_t MoveInfo::GetMoveTime(int32_t type, int32_t) const {
  if (IsTimedType(type)) {
    return times[type];
  }
  if (code < kFirstVehicleMoveCode) {
    return times[0];
  }
  return VehicleMoveTime(type);
}

int32_t MoveInfo::GetDeltaX(int32_t facing) const { return kDirectionX[WrapDirection(facing)] * step; }
int32_t MoveInfo::GetDeltaY(int32_t facing) const { return kDirectionY[WrapDirection(facing)] * step; }

bool MoveInfo::Perform(YLThing*, CLogic*) { return true; }

void MoveInfo::SetTime(int32_t type, uint8_t frames) { times[IsTimedType(type) ? type : 0] = frames; }

void MoveInfo::SetAllTimes(uint8_t frames) {
  for (uint8_t& time : times) {
    time = frames;
  }
}

void MoveInfo::SetTimes(const uint8_t (&values)[kMoveTimeTypes]) {
  for (int32_t type = 0; type < kMoveTimeTypes; ++type) {
    times[type] = values[type];
  }
}

MoveStep MoveInfo::MakeStep(int32_t x, int32_t y, int32_t facing) const {
  MoveStep result;
  result.x = x + GetDeltaX(facing);
  result.y = y + GetDeltaY(facing);
  result.facing = WrapDirection(facing + turn);
  result.move = this;
  return result;
}

// ---- MoveInfoDiagonal ----

MoveInfoDiagonal::MoveInfoDiagonal() { MoveInfoDiagonal::SetDefaults(); }

const char* MoveInfoDiagonal::GetClassName() const { return "MoveInfoDiagonal"; }

void MoveInfoDiagonal::SetDefaults() {
  MoveInfo::SetDefaults();
  SetAllDiagonalTimes(1);
}

uint8_t MoveInfoDiagonal::DiagonalTimeOfType(int32_t type) const {
  return diagonalTimes[IsTimedType(type) ? type : 0];
}

uint8_t MoveInfoDiagonal::GetMoveTime(int32_t type, int32_t flags) const {
  if ((flags & 1) != 0) {
    return DiagonalTimeOfType(type);
  }
  return TimeOfType(type);
}

void MoveInfoDiagonal::SetDiagonalTime(int32_t type, uint8_t frames) {
  diagonalTimes[IsTimedType(type) ? type : 0] = frames;
}

void MoveInfoDiagonal::SetAllDiagonalTimes(uint8_t frames) {
  for (uint8_t& time : diagonalTimes) {
    time = frames;
  }
}

void MoveInfoDiagonal::SetDiagonalTimes(const uint8_t (&values)[kMoveTimeTypes]) {
  for (int32_t type = 0; type < kMoveTimeTypes; ++type) {
    diagonalTimes[type] = values[type];
  }
}
