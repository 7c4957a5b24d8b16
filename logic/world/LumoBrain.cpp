#include "logic/world/LumoBrain.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"

namespace {

// Runs one decision step; a step that throws is logged and the next one
// still runs.
template <typename Step>
bool RunStep(Step&& step, const char* message, int32_t value = 0) {
  try {
    step();
    return true;
  } catch (...) {
    DebugPrint(message, value);
    return false;
  }
}

bool ReadCount(LumoStream* stream, const char* what, int32_t& count) {
  if (!stream->ReadInteger(count)) {
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < 0 || (remaining >= 0 && static_cast<int64_t>(count) * 4 > remaining)) {
    DebugPrint("LumoBrain::Load: %s count %d does not fit the stream\n", what, count);
    return false;
  }
  return true;
}

bool ReadArray(LumoStream* stream, tCollection<int32_t>& values, int32_t count) {
  values.Clear();
  for (int32_t index = 0; index < count; ++index) {
    int32_t value = 0;
    if (!stream->ReadInteger(value) || !values.AppendInt(value)) {
      return false;
    }
  }
  return true;
}

bool WriteArray(LumoStream* stream, const tCollection<int32_t>& values) {
  for (int32_t index = 0; index < values.count; ++index) {
    if (!stream->WriteInteger(values[index])) {
      return false;
    }
  }
  return true;
}

}  // namespace

LumoBrain::LumoBrain()
    : Neighbours(nullptr, nullptr, nullptr, kArrayGrowth),
      Memory(nullptr, nullptr, nullptr, kArrayGrowth),
      Stimuli(new Stimulus[kStimulusLimit]) {}

LumoBrain::~LumoBrain() = default;

// ---- Steps ----

void LumoBrain::Evolve() {
  RunStep([&] { ClearMove(); }, "LumoBrain::Evolve() exception in ClearMove()\n");
  RunStep([&] { ComputeIntentions(); }, "LumoBrain::Evolve() exception in ComputeIntentions()\n");
  RunStep([&] { ComputePlanning(); }, "LumoBrain::Evolve() exception in ComputePlanning()\n");
}

void LumoBrain::SetActive(uint8_t frames) { Busy = frames; }
void LumoBrain::AddPressure(float amount) { Pressure += amount; }
void LumoBrain::ComputeUpdateModel() {}
void LumoBrain::ComputeReflexes() {}
void LumoBrain::ComputeIntentions() {}
void LumoBrain::ComputePlanning() {}
void LumoBrain::ClearMove() {}

// A move whose choice throws counts as move 0 (wait), and a countdown whose
// computation throws as 0, so the next frame chooses again.
uint8_t LumoBrain::Compute() {
  if (Busy > 0) {
    --Busy;
    return Busy;
  }
  RunStep([&] { ComputeUpdateModel(); }, "LumoBrain::Compute() exception in ComputeUpdateModel()\n");
  RunStep([&] { ComputeReflexes(); }, "LumoBrain::Compute() exception in ComputeReflexes()\n");
  int32_t move = 0;
  if (!RunStep([&] { move = Move(); }, "LumoBrain::Compute() exception in Move()\n")) {
    move = 0;
  }
  int32_t countdown = 0;
  if (!RunStep([&] { countdown = OnBrainMove(move); }, "LumoBrain::Compute() exception in OnBrainMove(%d)\n", move)) {
    countdown = 0;
  }
  Busy = static_cast<uint8_t>(countdown & 0xFF);
  return Busy;
}

// ---- Perception ----

void LumoBrain::ClearPerception() {
  Neighbours.Clear();
  Memory.Clear();
  Pressure = 0.0f;
}

void LumoBrain::AddNeighbour(int32_t id) { Neighbours.AppendInt(id); }

void LumoBrain::SetNeighbours(const tCollection<int32_t>& ids) {
  if (!Neighbours.SetCount(ids.count)) {
    return;
  }
  for (int32_t index = 0; index < ids.count; ++index) {
    Neighbours[index] = ids[index];
  }
}

int32_t LumoBrain::GetNeighbour(int32_t index) const { return Neighbours.At(index); }

void LumoBrain::AddStimulus(int32_t source, int32_t kind, float strength) {
  if (StimulusCount >= kStimulusLimit) {
    return;
  }
  Stimulus& stimulus = Stimuli[StimulusCount];
  stimulus.source = source;
  stimulus.kind = kind & 0xFF;
  stimulus.strength = strength;
  ++StimulusCount;
}

const LumoBrain::Stimulus* LumoBrain::GetStimulus(int32_t index) const {
  if (index < 0 || index >= StimulusCount) {
    return nullptr;
  }
  return &Stimuli[index];
}

void LumoBrain::ResetStimuli() { StimulusCount = 0; }

// ---- Stream form ----

bool LumoBrain::SaveBrain(LumoStream* stream) const {
  if (!stream->WriteInteger(Busy) || !stream->WriteInteger(Memory.count) || !WriteArray(stream, Memory) ||
      !stream->WriteInteger(Neighbours.count) || !WriteArray(stream, Neighbours) || !stream->WriteSingle(Pressure) ||
      !stream->WriteInteger(StimulusCount)) {
    return false;
  }
  for (int32_t index = 0; index < StimulusCount; ++index) {
    const Stimulus& stimulus = Stimuli[index];
    if (!stream->WriteSingle(stimulus.strength) || !stream->WriteInteger(stimulus.kind) ||
        !stream->WriteInteger(stimulus.source)) {
      return false;
    }
  }
  return true;
}

bool LumoBrain::LoadBrain(LumoStream* stream) {
  int32_t busy = 0;
  if (!stream->ReadInteger(busy)) {
    return false;
  }
  if (busy < 0 || busy > 255) {
    DebugPrint("LumoBrain::Load: countdown %d is not a byte\n", busy);
    return false;
  }
  Busy = static_cast<uint8_t>(busy);
  int32_t count = 0;
  if (!ReadCount(stream, "memory", count) || !ReadArray(stream, Memory, count) ||
      !ReadCount(stream, "neighbour", count) || !ReadArray(stream, Neighbours, count) ||
      !stream->ReadSingle(Pressure)) {
    return false;
  }
  int32_t stimuli = 0;
  if (!stream->ReadInteger(stimuli)) {
    return false;
  }
  // The block holds three records; a larger count would write past it.
  if (stimuli < 0 || stimuli > kStimulusLimit) {
    DebugPrint("LumoBrain::Load: stimulus count %d, at most %d fit\n", stimuli, kStimulusLimit);
    return false;
  }
  StimulusCount = 0;
  for (int32_t index = 0; index < stimuli; ++index) {
    Stimulus& stimulus = Stimuli[index];
    if (!stream->ReadSingle(stimulus.strength) || !stream->ReadInteger(stimulus.kind) ||
        !stream->ReadInteger(stimulus.source)) {
      return false;
    }
    stimulus.kind &= 0xFF;
    StimulusCount = static_cast<uint8_t>(index + 1);
  }
  return true;
}
