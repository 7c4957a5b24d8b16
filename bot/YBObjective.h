#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/LumoNode.h"
#include "bot/BotSupport.h"
#include "bot/YBIdentifierList.h"

// A standing goal a level gives one computer player. The node identifier
// packs the objective's ID (high 16 bits) and its player (low 16 bits).
// Kinds are made by class name when the controller is loaded.
class YBObjective : public LumoNode {
 public:
  static constexpr int32_t kKindCount = 17;
  static constexpr float kOff = -1.0f;

  YBObjective() = default;

  const char* GetClassName() const override { return "YBObjective"; }
  // Frees the Assignment list.
  void OnFree() override;

  virtual void SetPriority(float value) { Priority = value; }
  virtual bool LoadPriority(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePriority(LumoStream* stream, const LumoProperty* property);
  // Loading replaces the list without registering it with the controller.
  virtual bool LoadAssignment(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAssignment(LumoStream* stream, const LumoProperty* property);
  virtual int32_t GetKind() const { return 0; }
  // "ID", "Player", "Priority" and "Assignment" with their texts; kinds
  // append theirs from index 4 on.
  virtual void GetProperties(YBTextList& names, YBTextList& values);
  // Sets one editable property from text; answers -1 when the index was
  // handled here, 0 otherwise.
  virtual int32_t SetProperty(int32_t index, const char* text);

  // Switching an objective that was on to off releases its assignment first.
  void ChangePriority(float value);
  // None releases the assignment; a list replaces it, is handed to the
  // controller as a crew assignment, and is kept as a copy.
  void SetAssignment(const YBIdentifierList* list);
  bool IsAssigned(int32_t unitId) const;
  // The kind name and, for each property value, a blank and the value.
  std::string Describe();

  int32_t GetObjectiveID() const { return static_cast<int32_t>(ID >> 16); }
  int32_t GetPlayer() const { return static_cast<int32_t>(ID & 0xFFFF); }
  // The kind name of a kind number; "" outside the table.
  static const char* GetKindNameOf(int32_t kind);

  float Priority = 0.0f;
  std::unique_ptr<YBIdentifierList> Assignment;
  // Which of a situation's change bits make the search evaluate the
  // objective again; set by each kind. Not saved.
  uint8_t DependencyMask = 0;
};
