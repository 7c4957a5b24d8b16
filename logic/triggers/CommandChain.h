#pragma once

#include <cstdint>

class ActionPropertyLines;
class LumoObject;
class LumoStream;
class PsychicPlanItem;
class YLUnit;

// A new unit plan step by the first letter of the text: "a" attack, "e"
// enter, "g" goto, "h" hold, "l" loot, "s" attack by shooting, "x" leave,
// each with parameters 0, not fast and motivation 1.0. Any other letter
// (and "n", and no text) makes none. The caller owns the step.
PsychicPlanItem* CreateCommandPlanItem(const char* letter);

// The chain of unit plan steps that a trigger action gives the units it
// creates or commands, linked through the steps' queue links. The chain
// owns its steps; each unit gets clones of them, so the chain serves every
// run of the action.
class CommandChain {
 public:
  // The value of a type line that holds no step: the letters that make one.
  static constexpr const char* kNoStepText = "n (a,e,g,h,l,s,x)";

  CommandChain() = default;
  ~CommandChain();
  CommandChain(const CommandChain&) = delete;
  CommandChain& operator=(const CommandChain&) = delete;

  PsychicPlanItem* GetFirst() const { return First; }
  int32_t GetCount() const;
  // Deletes every step.
  void Clear();

  // The stored form: a presence byte and, when set, the first step's whole
  // record, the following steps nested in it through its queue link. A
  // loaded object that is no plan step is freed and leaves the chain empty.
  bool Load(LumoStream* stream);
  bool Save(LumoStream* stream) const;

  // The editor lines: "  command" with the first step's text, then per step
  // "  par1", "  par2", "  fast" and "  mot", then "  queue" with the next
  // step's text; the type line after the last step shows kNoStepText.
  // Setting a type line replaces that step (the new step keeps the old
  // one's successors), appends a step at the end, or, for a letter that
  // makes none, removes that step and everything behind it.
  void Lines(ActionPropertyLines& lines);

  // The unit's plan becomes a clone of the first step, and a clone of each
  // following step is queued behind it in order.
  void GiveTo(YLUnit& unit) const;

  // A step's text: the name of the order kind it carries out.
  static const char* GetStepText(const PsychicPlanItem& step);

 private:
  // Puts the step made from the letter at position index (the step there,
  // if any, is replaced; index == count appends).
  void SetStep(int32_t index, const char* letter);

  PsychicPlanItem* First = nullptr;
};
