#pragma once

#include <cstdint>

#include "base/LumoList.h"

class LumoCell;
class LumoCommandNode;
class LumoSequenceList;
class LumoSoundNode;
class LumoSprite;

// A frame-timed script: command nodes ordered by their frames, run as the
// owner's frame counter reaches them (Check, once per frame). The current
// node is the next command to run; with the dispose flag every command is
// disposed of once it ran.
class LumoCommandList : public LumoList {
 public:
  LumoCommandList();

  const char* GetClassName() const override;
  // A command node.
  LumoNode* CreateItem() override;
  // Takes only command nodes as items; anything else is refused (logged).
  bool DoRegisterObject(LumoObject* object) override;
  // A detached current node hands over to its successor.
  void DoDetach(LumoNode* item) override;
  void DebugDumpFields() override;

  // Null or one of the list's nodes; anything else leaves the current node.
  virtual LumoCommandNode* SetCurrent(LumoCommandNode* node);
  virtual bool SetDisposeExecuted(bool flag);

  // Inserts the node after the last node whose frame is not above the given
  // frame (at the front when there is none) and makes it a user command of
  // that frame. Null for a node already in a list.
  LumoCommandNode* InsertAtFrame(uint32_t frame, LumoCommandNode* node);
  // Inserts the same way, leaving the node as it is.
  LumoCommandNode* InsertByFrame(uint32_t frame, LumoCommandNode* node);

  // Each makes a node with CreateItem, inserts it after the nodes of its
  // frame and defines it; null when it could not be made.
  LumoCommandNode* AddUser(uint32_t frame);
  LumoCommandNode* AddTerminate(uint32_t frame);
  LumoCommandNode* AddSequence(uint32_t frame, LumoSequenceList* sequence);
  LumoCommandNode* AddSprite(uint32_t frame, LumoSprite* sprite, int32_t repeats);
  LumoCommandNode* AddMotion(uint32_t frame, LumoSprite* sprite, int32_t horizontal, int32_t vertical,
                             int32_t duration);
  // Also null without a sound node.
  LumoCommandNode* AddSound(uint32_t frame, int32_t command, LumoSoundNode* sound, LumoSprite* sprite);
  // Null while the engine's commands are locked.
  LumoCommandNode* AddPrint(uint32_t frame, LumoCell* cell);

  // The first node of that frame from the front (FindByFrame) or from the
  // back (FindLastByFrame); null when there is none.
  LumoCommandNode* FindByFrame(uint32_t frame) const;
  LumoCommandNode* FindLastByFrame(uint32_t frame) const;

  // Runs the commands due at the counter. Without a current node the list
  // goes on from its first node due at or after the counter (from its first
  // node with the dispose flag); once its last command ran, nothing runs
  // again until the list is rewound or the counter goes back below a node.
  void Check(uint32_t frameCounter);

  // ---- Fields ----

  LumoCommandNode* Current = nullptr;
  uint8_t DisposeExecuted = 0;

 private:
  template <typename Define>
  LumoCommandNode* Add(uint32_t frame, Define&& define);
  void Dispose(LumoCommandNode* node);

  // The command a check is running; cleared when that command leaves the
  // list while it runs (it may have been destroyed then, so it is not
  // touched again).
  LumoCommandNode* Running = nullptr;
};
