#pragma once

#include <cstdint>

class LumoGraphicList;
class LumoGraphicNode;
class LumoObjects;
class LumoSequenceList;
class LumoSoundList;
class LumoStream;

// Pieces shared by the game's resource classes: the running level's sources,
// the loader gauge, the stored form of a graphic by name, and the bounds
// that every stored resource grid is checked against before it is indexed.

// The largest number of sequences, colours, sizes or steps a stored grid
// may have on one axis.
constexpr int32_t kMaxResourceAxis = 256;

// The current level's graphic (sound) list, null outside a running level.
LumoGraphicList* CurrentGraphicList();
LumoSoundList* CurrentSoundList();

// Raises the current level's loader gauge by amount; nothing when the level
// has no loader gauge.
void AdvanceLoaderGauge(int64_t amount);

// Whether a stored axis count lies in 0..kMaxResourceAxis; logs
// "(RES) <className> <field> <value> is out of range" otherwise.
bool CheckResourceAxis(const char* className, const char* field, int32_t value);

// Whether a collection holds exactly `expected` slots; logs the mismatch
// (className, what the product counts) otherwise. A grid whose entry count
// differs from its axes would be indexed past its end.
bool CheckResourceSlots(const char* className, const LumoObjects& collection, int64_t expected);

// A graphic stored as its graphic node's name (a stream text). Saving a
// missing or nameless graphic writes nothing and answers false.
bool SaveGraphicName(LumoStream* stream, const LumoGraphicNode* graphic);
// Reads the name and provides the graphic from the current level's graphic
// list (loaded when it is not there yet); null, logged with className, when
// the text cannot be read or no graphic results.
LumoGraphicNode* LoadGraphicByName(LumoStream* stream, const char* className);

// The number of frames of a sequence list, 0 for none.
int32_t FrameCount(const LumoSequenceList* list);
// The gauge's measure of one sequence list: frames x 56 + 64.
int32_t SequenceBytes(const LumoSequenceList* list);

// The current level's loader gauge progress in parts of `scale` (1000 for
// thousandths), computed in 64 bits: a loader maximum in the tens of
// millions times 1000 does not fit 32 bits. -1 when there is no gauge or its
// maximum is 0 or below, so nothing is drawn instead of dividing by zero.
int64_t LoaderGaugeShare(int64_t scale);
// Runs one pass of the engine's timer (the loading screen is drawn) when the
// share in parts of `scale` grew past `before`.
void DrawLoaderGaugeIfGrown(int64_t before, int64_t scale);
// Raises the current level's loader gauge maximum by amount (clamped to 32
// bits) with its minimum at 0; nothing without a gauge.
void RaiseLoaderGaugeMaximum(int64_t amount);
