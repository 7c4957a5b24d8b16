#pragma once

#include <cstdint>
#include <memory>

#include "base/tCollection.h"

class LumoStream;

// The decision skeleton every unit carries: what it perceives (the ids of
// nearby things and up to three stimuli), a countdown of frames during which
// its current move still runs, and the order of its decision steps. The
// steps themselves belong to the unit.
class LumoBrain {
 public:
  // One thing that acted on the unit: who, what kind (its low byte) and how
  // strongly.
  struct Stimulus {
    int32_t source = 0;
    int32_t kind = 0;
    float strength = 0.0f;
  };
  // Stimuli beyond this many in one perception update are dropped.
  static constexpr uint8_t kStimulusLimit = 3;
  static constexpr int32_t kArrayGrowth = 16;

  LumoBrain();
  virtual ~LumoBrain();
  LumoBrain(const LumoBrain&) = delete;
  LumoBrain& operator=(const LumoBrain&) = delete;

  // The slow step: ClearMove, ComputeIntentions, ComputePlanning, each under
  // its own guard.
  virtual void Evolve();
  // Sets the busy countdown.
  virtual void SetActive(uint8_t frames);
  virtual void AddPressure(float amount);
  virtual void ComputeUpdateModel();
  virtual void ComputeReflexes();
  virtual void ComputeIntentions();
  virtual void ComputePlanning();
  // The code of the next elementary move.
  virtual int32_t Move() = 0;
  virtual void ClearMove();
  // Turns the result of Move into the frames the brain stays busy.
  virtual int32_t OnBrainMove(int32_t move) = 0;

  // The per-frame step: counts a busy brain down, otherwise runs the model,
  // the reflexes and the choice of a move. Answers the new countdown.
  uint8_t Compute();

  // ---- Perception ----

  // Empties both arrays and the pressure; the stimuli stay.
  void ClearPerception();
  void AddNeighbour(int32_t id);
  // The perceived ids become these, in their order: as AddNeighbour of each
  // after ClearPerception's emptying, with one allocation instead of one per
  // growth step.
  void SetNeighbours(const tCollection<int32_t>& ids);
  // The i-th perceived id; 0 when i is outside the list, which ends every
  // caller's loop.
  int32_t GetNeighbour(int32_t index) const;
  int32_t GetNeighbourCount() const { return Neighbours.count; }
  // Keeps the stimulus when fewer than three are held; otherwise it is
  // dropped.
  void AddStimulus(int32_t source, int32_t kind, float strength);
  // The i-th stimulus; null when i is outside the held ones.
  const Stimulus* GetStimulus(int32_t index) const;
  uint8_t GetStimulusCount() const { return StimulusCount; }
  // Forgets the stimuli once the unit has acted on them.
  void ResetStimuli();

  // ---- Stream form ----
  // The countdown (32-bit), the second array's count and values, the
  // neighbours' count and ids, the pressure, the stimulus count (32-bit) and
  // each stimulus as strength, kind and source. Each stops at the first
  // failure. A load refuses a countdown outside 0-255, a stimulus count above
  // three and array counts larger than what the stream holds.
  bool SaveBrain(LumoStream* stream) const;
  bool LoadBrain(LumoStream* stream);

  uint8_t Busy = 0;  // frames the current move still runs
  tCollection<int32_t> Neighbours;
  // Saved and loaded with the brain; no step reads it.
  tCollection<int32_t> Memory;
  float Pressure = 0.0f;
  std::unique_ptr<Stimulus[]> Stimuli;
  uint8_t StimulusCount = 0;
};
