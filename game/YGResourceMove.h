#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoObjects.h"
#include "runtime/Graphics.h"

class LumoSequenceList;
class LumoSequenceNode;
class LumoSoundNode;
class YGColorMask;

// The look of one move of a thing resource: a grid of frame sequences, one
// per sequence index (a direction or a body part) and colour variant, the
// entry of (s, c) at s x Colors + c (entries may be null), with the move's
// sound and whether the thing glides while it plays. Colour 0 is stored;
// other colours are made on demand from it (recoloured through the frames'
// colour masks when MaskColor is set, else dithered see-through) and kept by
// the program-wide YGDynamicResourceController.
//
// Stored moves are untrusted: a move whose counts lie outside 0..256 or do
// not multiply to its entry count, an entry that is not a sequence list, or
// a mask record that is not a colour mask fails the load, logged.
class YGResourceMove : public LumoObjects {
 public:
  YGResourceMove();
  // Sizes the grid to sequences x colours null entries, MaskColor off.
  // Counts outside 0..256 are logged and thrown as std::invalid_argument.
  YGResourceMove(uint16_t moveId, int32_t sequences, int32_t colours, int32_t repeats, bool movement);

  const char* GetClassName() const override;
  // The masks go first, then the sequences.
  void DoDeactivate() override;
  // Takes only sequence lists (stored entries).
  bool DoRegisterObject(LumoObject* object) override;
  void OnAbortReferenceTo(LumoObject* other) override;
  // Checks the grid, then the gauge, the sound's repeats and the widening of
  // five-colour moves.
  bool OnLoadFrom(LumoStream* stream) override;
  // Variants made on demand are not stored.
  bool SaveCount(LumoStream* stream, const LumoProperty* property) override;

  virtual bool LoadSound(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSound(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMaskColor(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMaskColor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMoveID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMoveID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSequences(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSequences(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadColors(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveColors(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadRepeats(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveRepeats(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMovement(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMovement(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBytes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBytes(LumoStream* stream, const LumoProperty* property);

  // The entry (s, c); null when s or c is out of range.
  LumoSequenceList* GetStoredSequence(int32_t sequence, int32_t colour) const;
  // The sequence of (s, c): null for s out of range; a colour outside
  // 0..Colors - 1, or beyond the player colour table, gives colour 0; other
  // colours are made on demand and referenced once per call.
  LumoSequenceList* GetSequence(int32_t sequence, int32_t colour);
  // By direction 0..7: with 8 sequences the direction itself, with 4 the
  // direction / 2, otherwise sequence 0.
  LumoSequenceList* GetDirectionalSequence(int32_t direction, int32_t colour);
  // Stores the list (owned from then on) at (s, c), growing Sequences when
  // s lies beyond it; the old entry is deleted. A null list for an existing
  // row removes the row. False when (s, c) is refused.
  bool SetSequence(int32_t sequence, int32_t colour, LumoSequenceList* list);
  // Deletes the entry (s, c) and leaves it null.
  void ResetSequence(int32_t sequence, int32_t colour);
  // A copy of the base list with every frame recoloured through its mask.
  LumoSequenceList* ColorSequence(LumoSequenceList* base, const sRGB& maskColour);
  // A copy of the base list with every frame dithered see-through.
  LumoSequenceList* TranslucateSequence(LumoSequenceList* base);

  // The sound (referenced); null for none.
  void SetSound(LumoSoundNode* sound);
  // The colour mask of a frame of colour 0, null when it has none.
  YGColorMask* GetMask(const LumoSequenceNode* frame) const;
  // Gives the frame its mask (owned by the move from then on).
  void SetMask(LumoSequenceNode* frame, YGColorMask* mask);

  LumoSoundNode* Sound = nullptr;
  bool MaskColor = false;
  uint16_t MoveID = 0;
  int32_t Sequences = 0;
  int32_t Colors = 0;
  int32_t Repeats = 0;  // of the sound; -2 plays it once
  bool Movement = false;
  int32_t Bytes = 0;  // the gauge's measure of the sequences

 private:
  // A frame's ID field holds the position + 1 of its mask here: the 32-bit
  // field cannot hold the mask's address.
  std::vector<std::unique_ptr<YGColorMask, tObjectDestroyer>> masks;

  // Whether slot holds a stored entry (not a variant made on demand).
  bool IsStoredEntry(int32_t slot) const;
  // Copies the base's frames into new graphics of the program-wide
  // controller; paint(frame, copy graphic) finishes each copy.
  template <typename Paint>
  LumoSequenceList* CopySequence(LumoSequenceList* base, const char* emptyLine, Paint&& paint);
  void WidenToEightColours();
  void DeleteEntry(int32_t index);
};
