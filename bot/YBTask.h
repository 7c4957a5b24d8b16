#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoNode.h"
#include "base/LumoObjects.h"
#include "bot/BotSupport.h"
#include "bot/YBIdentifierList.h"

class YBBot;
class YBCrewAssignment;
class YBUnit;

// A job that a bot runs for the units of one crew: it takes a crew
// assignment, starts, runs once a frame and sends orders through its bot.
// Every task kind overrides the virtual operations below; kinds are made by
// class name through the class registry, so a later kind only registers its
// class to be made from texts, speech and streams.
class YBTask : public LumoNode {
 public:
  // Flag bit 30: the task's creator keeps it; a bot that removes it does not
  // destroy it and the controller never drops it for being idle.
  static constexpr uint32_t kKeptFlag = 1u << 30;
  static constexpr int32_t kKindCount = 27;
  static constexpr int32_t kKindAttack = 4;
  static constexpr int32_t kKindRegroup = 24;
  static constexpr int32_t kKindSelfDefence = 25;
  static constexpr int32_t kKindProgram = 26;
  // The speech message that names in its parameter the thing that attacked.
  static constexpr int32_t kMessageAttacked = 5;

  YBTask() = default;

  const char* GetClassName() const override { return "YBTask"; }
  // Destroys the started state and frees the Assignment.
  void OnFree() override;

  virtual bool LoadAssignment(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAssignment(LumoStream* stream, const LumoProperty* property);
  // A task that still needs its crew answers false; the base is finished.
  virtual bool IsFinished();
  virtual int32_t GetKind() const { return 0; }
  // The kind name of GetKind ("Dummy" for the base).
  virtual std::string GetKindName() const;
  // Appends "Assignment" and the list's text, "AI" for no or an empty list;
  // kinds append their own pairs after the base's.
  virtual void GetProperties(YBTextList& names, YBTextList& values);
  // Index 0: the Assignment becomes the text's list (none for "AI"), the task
  // stops, and -1 is answered. Other indexes answer 0.
  virtual int32_t SetProperty(int32_t index, const char* text);
  // Stops; with identifiers in the Assignment makes an empty started state
  // and answers true, otherwise false.
  virtual bool Start();
  // Destroys the started state.
  virtual bool Stop();
  // True when started, else the answer of Start.
  virtual bool Compute();
  // Reacts to the logic's speech about a unit; see YBTask.cpp.
  virtual void SpeechMsg(YBUnit* unit, int32_t message, int32_t parameter);
  // The kind's three code bytes; blanks in the base.
  virtual void GetCode(uint8_t code[3]) const;
  // Whether the crew assignment may drop units that stray from its sector.
  virtual bool AllowsSplitting() { return true; }

  // Gives up the current Assignment (stopping) and, given a crew assignment,
  // takes those of its units that can work and belong to no task yet.
  void Assign(YBCrewAssignment* assignment);
  // Removes the unit's identifier and takes it out of this task's group.
  void RemoveUnit(YBUnit* unit);
  // Appends a working object to the started state, which owns it; removing
  // one destroys it.
  void AddToState(LumoObject* value);
  void RemoveFromState(LumoObject* value);
  // The kind name and, for each property value, a blank and the value.
  std::string GetText();
  bool IsStarted() const { return State != nullptr; }
  bool IsKept() const { return (Flags & kKeptFlag) != 0; }
  bool HasJoinedBot() const { return JoinedBot; }

  // A new task of the kind by its class, made through the class registry;
  // null for a kind without a class (Regroup, Program) or a class not
  // registered in this build.
  static YBTask* CreateOfKind(int32_t kind);
  // The class name of a kind; null for none.
  static const char* GetKindClassName(int32_t kind);
  // The kind name of a kind number; "" outside the table.
  static const char* GetKindNameOf(int32_t kind);
  // A task from its text form: the kind name (case-sensitive, tried in table
  // order over each name's own length), then the property values by index.
  // The task is kept by its creator (flag bit 30). Null when the kind makes
  // nothing.
  static YBTask* CreateFromText(const char* text);

  YBBot* Bot = nullptr;
  std::unique_ptr<YBIdentifierList> Assignment;
  std::unique_ptr<LumoObjects, tObjectDestroyer> State;
  // Set for good once the task joined a bot: from then on the bot owns it,
  // never the proposition that made it.
  bool JoinedBot = false;
};
