#pragma once

// A small level played by a fixed script, shared by the logic's determinism
// tests, the fuzz targets' seeds and the frame benchmark. The level is made
// only through the logic's exported functions, as the game program makes
// one: a 48 x 48 map with sectors, a building of every kind the factory
// knows, obstacles, a barricade, cars, buses and a train, a cup game of two
// players with their start crews, a third player and the police with units
// of their own, and level triggers written through the editor's property
// interface. The script then gives the players' orders through the order
// builders and AcceptOrder, decided by its own generator keyed by the frame
// number alone, so a game loaded at any frame is given the same orders as
// the unbroken one.
//
// The library makes no GoogleTest calls, so fuzz and benchmark programs may
// link it. A build without the tests adds this folder itself:
//   if(NOT TARGET lumo_logic_scenario)
//     add_subdirectory(${CMAKE_SOURCE_DIR}/tests/logic/scenario ${CMAKE_BINARY_DIR}/scenario)
//   endif()

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "logic/core/YLEventListener.h"

namespace scenario {

// The players of the script: two seats of the cup game and a third player
// made with LogicPlayer. Player 3 is the police.
inline constexpr int32_t kPlayers[] = {1, 2, 4};
inline constexpr int32_t kPolicePlayer = 3;
// The map's size in cells.
inline constexpr int32_t kMapSize = 48;

// Starts the logic afresh (LogicStart) and builds the level. Throws
// std::runtime_error when the logic refuses a step or a thing does not get
// the id the script addresses it by.
void StartScenario();

// Applies the script's orders for a frame: call it before the LogicCompute
// of that frame (at GetFrame() == frame). The orders depend on the frame
// number only, never on the game's state or on earlier calls.
void ApplyScriptedOrders(int32_t frame);

// True for the frames whose orders end with every player's selection
// emptied (group 255): a save taken after such a frame's compute loses
// nothing, selections not being saved. Some are multiples of neither 12
// nor 30.
bool AllDeselected(int32_t frame);

// The bytes LogicSave writes now; empty when the save fails.
std::string SavedBytes();
// A 64-bit FNV-1a hash of bytes, and of the bytes LogicSave writes now.
uint64_t HashBytes(const void* data, size_t length, uint64_t hash = 0xcbf29ce484222325ull);
uint64_t StateHash();

// Loads saved bytes into the logic (LogicLoad); false when refused.
bool LoadBytes(const std::string& bytes);

// Hashes each frame's events by value, and what their pointers point to by
// content (a thing record by its stored bytes, a move by its name and code,
// a text by its characters), never by address. Optionally keeps a readable
// line per event for diagnostics.
class RecordingListener : public YLEventListener {
 public:
  explicit RecordingListener(bool keepLines = false) : keepLines_(keepLines) {}

  void EventMap(const void* grid) override;
  void EventThing(ThingInfo* info, const char* typeName) override;
  void EventAction(int32_t id, const MoveStep* action) override;
  void EventEnter(int32_t unitId, int32_t containerId) override;
  void EventExit(int32_t unitId, int32_t containerId) override;
  void EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) override;
  void EventSelection(int32_t player, int32_t id, int32_t selected) override;
  void EventGore(int32_t x, int32_t y, float amount, int32_t kind) override;
  void EventSplat(int32_t x, int32_t y, float amount, int32_t kind) override;
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override;
  void EventProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind) override;
  void EventGameOver(int32_t player, int32_t won, void* passThrough) override;
  void EventTimer(int32_t player, int32_t framesLeft, const char* label) override;
  void EventUnknownOrder(int32_t length, const void* payload) override;
  void EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) override;
  void EventNewTask(int32_t task, const char* text) override;

  // The hash of the events heard since the last call (the offset basis
  // when none), and starts again.
  uint64_t TakeFrameHash();
  // Events heard since the last TakeFrameHash.
  int32_t EventCount() const { return count_; }
  // Readable lines of the events since the last TakeLines (only kept when
  // asked for at construction).
  std::vector<std::string> TakeLines();

 private:
  // Mixes an event's kind and its values into the frame's hash.
  void Mix(const char* kind, std::initializer_list<int64_t> values, const std::string& text = {});

  bool keepLines_;
  uint64_t hash_ = 0xcbf29ce484222325ull;
  int32_t count_ = 0;
  std::vector<std::string> lines_;
};

// The hashes of one frame: the saved state after its compute and the
// events of its orders and compute.
struct FrameHashes {
  uint64_t state = 0;
  uint64_t events = 0;
  bool operator==(const FrameHashes&) const = default;
};

// What RunScenario does besides running.
struct RunOptions {
  // Hash the saved state after every frame; otherwise only after the last.
  bool hashEveryFrame = true;
  // Keep the saved bytes of these frames (after their compute).
  std::vector<int32_t> keepSavesAt;
};

struct RunResult {
  // One entry per frame computed, frame f at index f - first frame.
  std::vector<FrameHashes> frames;
  // The saves asked for, in the order of keepSavesAt.
  std::vector<std::string> saves;
  // The state hash after the last frame.
  uint64_t finalState = 0;
};

// Starts the scenario and runs frames 0 .. frames - 1: the script's orders,
// then LogicCompute, each frame. Throws std::runtime_error on a refused step.
RunResult RunScenario(int32_t frames, const RunOptions& options = {});
// Loads the saved bytes into the logic and runs on with the script's orders
// until the frame counter reaches endFrame; the first entry is the frame the
// load resumes at. Throws std::runtime_error when the load is refused.
RunResult ContinueFromSave(const std::string& saved, int32_t endFrame, const RunOptions& options = {});

// Where two saves first differ: empty when equal, else a line naming the
// byte offset, the two bytes and the nearest marker text before it (the
// record the byte belongs to, as far as a text tells).
std::string DescribeFirstDifference(const std::string& expected, const std::string& actual);
// The first frame whose hashes differ between two runs compared from the
// same first frame: -1 when all compared frames agree (and the lengths are
// equal), else the index of the first difference.
int32_t FirstDifferentFrame(const std::vector<FrameHashes>& expected, const std::vector<FrameHashes>& actual);

}  // namespace scenario
