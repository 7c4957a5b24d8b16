#pragma once

#include <cstdint>

#include "base/LumoObjects.h"
#include "base/TextUtils.h"

class LumoSequenceList;
class LumoSoundNode;
class YGResourceMove;

// The complete look of one kind of thing: its name, the box of all its
// frames around the thing's point, its kind (Type 0..9), how it is coloured,
// whether its sequences are body parts instead of directions, and its moves
// (YGResourceMove) indexed by move id; entries may be null. Stored entries
// that are not moves refuse the load.
class YGThingResource : public LumoObjects {
 public:
  // The box of a resource without frames.
  static constexpr int32_t kEmptyMin = 0x7FFFFFFF;
  static constexpr int32_t kEmptyMax = static_cast<int32_t>(0x80000000u);

  YGThingResource();
  // Presets ColorMode, Parts and the number of move slots by type.
  YGThingResource(const char* name, int32_t type);
  // A resource deleted without DestroyObject still frees its name.
  ~YGThingResource() override;

  const char* GetClassName() const override;
  // Takes only moves.
  bool DoRegisterObject(LumoObject* object) override;
  void DoFree() override;

  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMinX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMinX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMinY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMinY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMaxX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMaxX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMaxY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMaxY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveType(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadColorMode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveColorMode(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParts(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParts(LumoStream* stream, const LumoProperty* property);

  // Stores the move (owned from then on) at its MoveID, growing the
  // collection; a move already there is replaced (logged) and deleted.
  bool AddMove(YGResourceMove* move);
  // The move of that id, null when there is none.
  YGResourceMove* GetMove(int32_t moveId) const;
  LumoSoundNode* GetMoveSound(int32_t moveId) const;
  // 1 without Parts; with Parts the Sequences of move 0 (0 without one).
  int32_t GetPartCount() const;
  // The sequence of (move, direction or part, colour); with Parts a missing
  // part sequence comes from move 0.
  LumoSequenceList* GetAnimation(int32_t moveId, int32_t index, int32_t colour);
  // Stores the list in the move, then recomputes the box. False when the
  // move is missing or refuses it (the list stays the caller's).
  bool SetSequence(int32_t moveId, int32_t sequence, int32_t colour, LumoSequenceList* list);
  // The box of every frame with a graphic of every stored sequence.
  void RecomputeBox();

  tCharStr Name = nullptr;
  int32_t MinX = kEmptyMin;
  int32_t MinY = kEmptyMin;
  int32_t MaxX = kEmptyMax;
  int32_t MaxY = kEmptyMax;
  int32_t Type = 0;
  int32_t ColorMode = 0;
  bool Parts = false;
};
