#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/LumoList.h"
#include "runtime/DebugLog.h"

// Nodes and lists that record every hook they run, for the object model tests.
namespace object_model_testing {

inline std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}

inline void Record(const std::string& event) { Events().push_back(event); }

inline std::string NameOf(const tObject* object) {
  const auto* node = dynamic_cast<const LumoNode*>(object);
  return node != nullptr && node->Name != nullptr ? node->Name : "?";
}

// The hook ("DoAttach", "OnFree", ...) that throws when it runs next; empty
// for none.
inline std::string& ThrowingHook() {
  static std::string hook;
  return hook;
}

// Records "<hook> <object's name> <detail>"; a label stands in for the name
// when given (a node's name is gone once its DoFree ran).
inline void Hook(const std::string& hook, const tObject* object, const std::string& detail = "",
                 const std::string& label = "") {
  Record(hook + " " + (label.empty() ? NameOf(object) : label) + (detail.empty() ? "" : " " + detail));
  if (ThrowingHook() == hook) {
    throw std::runtime_error(hook);
  }
}

template <typename... Arguments>
std::string Format(const char* format, Arguments... arguments) {
  char text[1024];
  std::snprintf(text, sizeof text, format, arguments...);
  return text;
}

// The object's label when it is a recording object, else its name.
inline std::string LabelOf(const tObject* object);

class RecordingNode : public LumoNode {
 public:
  explicit RecordingNode(const char* name = nullptr) : label(name != nullptr ? name : "?") { SetName(name); }
  // The name is freed by DoFree, so the label keeps it for the last record.
  ~RecordingNode() override { Record("delete " + label); }
  const char* GetClassName() const override { return "RecordingNode"; }

  bool DoAssign(LumoObject* other) override {
    Hook("DoAssign", this, NameOf(other));
    return LumoNode::DoAssign(other);
  }
  bool OnAssign(LumoObject* other) override {
    Hook("OnAssign", this, NameOf(other));
    return true;
  }
  void DoDeactivate() override { Hook("DoDeactivate", this); }
  void OnFree() override { Hook("OnFree", this); }
  void DoFree() override {
    Hook("DoFree", this);
    if (buddy != nullptr) {
      DestroyObject(buddy);
    }
    LumoNode::DoFree();
  }
  void OnAbortReferenceTo(LumoObject* other) override {
    Hook("OnAbortReferenceTo", this, LabelOf(other), label);
  }
  void DoAbortReferenceTo(LumoObject* other) override {
    Hook("DoAbortReferenceTo", this, LabelOf(other), label);
    if (destroyOnAbort) {
      destroyOnAbort = false;
      DestroyObject(this);
    }
  }
  bool DoMessage(int32_t, LumoNode* sender) override {
    Hook("DoMessage", this, NameOf(sender));
    return handles;
  }
  // The last hook of a message, so onMessage may even destroy this node.
  bool OnMessage(int32_t message, LumoNode* sender) override {
    Hook("OnMessage", this, NameOf(sender));
    if (onMessage != nullptr) {
      onMessage(this, message);
    }
    return false;
  }
  uintptr_t Load() override {
    Hook("Load", this);
    return SetData(loadedData);
  }
  void Unload() override {
    Record("Unload " + NameOf(this));
    LumoNode::Unload();
  }
  void SetTag(int32_t value) override {
    Record("SetTag " + NameOf(this) + " " + std::to_string(value));
    LumoNode::SetTag(value);
  }

  std::string label;
  bool handles = false;          // DoMessage answers this
  uintptr_t loadedData = 0;      // Load sets this as the data
  bool destroyOnAbort = false;   // DoAbortReferenceTo destroys this node
  LumoNode* buddy = nullptr;     // destroyed by this node's DoFree
  void (*onMessage)(RecordingNode* receiver, int32_t message) = nullptr;
};

class RecordingList : public LumoList {
 public:
  explicit RecordingList(const char* name = nullptr) : label(name != nullptr ? name : "?") { SetName(name); }
  ~RecordingList() override { Record("delete " + label); }
  const char* GetClassName() const override { return "RecordingList"; }

  void DoDeactivate() override {
    Hook("DoDeactivate", this);
    LumoList::DoDeactivate();
  }
  void OnFree() override { Hook("OnFree", this); }
  void DoFree() override {
    Hook("DoFree", this);
    LumoList::DoFree();
  }
  void DoClear() override { Hook("DoClear", this); }
  void OnClear() override { Hook("OnClear", this); }
  void DoAttach(LumoNode* item) override { Hook("DoAttach", this, NameOf(item)); }
  void OnAttach(LumoNode* item) override { Hook("OnAttach", this, NameOf(item)); }
  void DoDetach(LumoNode* item) override { Hook("DoDetach", this, NameOf(item)); }
  void OnDetach(LumoNode* item) override { Hook("OnDetach", this, NameOf(item)); }
  void DoPopulate() override { Hook("DoPopulate", this); }
  void OnPopulate() override { Hook("OnPopulate", this); }
  void OnActivate() override { Hook("OnActivate", this); }
  void DoActivate() override { Hook("DoActivate", this); }
  bool OnRegisterObject(LumoObject* object, bool registered) override {
    Hook("OnRegisterObject", this, NameOf(object));
    return registered && !vetoes;
  }
  LumoNode* CreateItem() override { return new RecordingNode; }

  RecordingNode* Add(const char* name) { return static_cast<RecordingNode*>(Append(new RecordingNode(name))); }

  std::string label;
  bool vetoes = false;  // OnRegisterObject refuses every object
};

inline std::string LabelOf(const tObject* object) {
  if (const auto* node = dynamic_cast<const RecordingNode*>(object)) {
    return node->label;
  }
  if (const auto* list = dynamic_cast<const RecordingList*>(object)) {
    return list->label;
  }
  return NameOf(object);
}

// Clears the records before each test and switches the debug log off after.
class ObjectModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Events().clear();
    ThrowingHook().clear();
  }
  void TearDown() override {
    ThrowingHook().clear();
    SetDebugMode(DebugModeOff);
  }
  static void StartLog() { ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite); }
  // The debug log written so far; the log is switched off.
  static std::string StopLog();
};

}  // namespace object_model_testing
