#include "framework/LumoSequenceNode.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoLevel.h"

namespace {

LumoClassOf<LumoSequenceNode> classOfLumoSequenceNode(kVersion_1_4_0_0, "LumoSequenceNode", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceNode, Data, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceNode, Duration, PropertyInteger, "tCardinal");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceNode, Left, PropertyInteger, "tInteger");
LUMO_FIELD_PROPERTY(kVersion_1_4_0_0, LumoSequenceNode, Top, PropertyInteger, "tInteger");

}  // namespace

LumoSequenceNode::LumoSequenceNode() = default;

const char* LumoSequenceNode::GetClassName() const { return "LumoSequenceNode"; }

LUMO_GENERIC_FIELD(LumoSequenceNode, Left)
LUMO_GENERIC_FIELD(LumoSequenceNode, Top)

uintptr_t LumoSequenceNode::SetData(uintptr_t value) {
  SetGraphic(reinterpret_cast<LumoGraphicNode*>(value));
  return Data;
}

void LumoSequenceNode::SetGraphic(LumoGraphicNode* graphic) {
  if (graphic == GraphicNode) {
    return;
  }
  if (GraphicNode != nullptr) {
    RemoveReference(GraphicNode);
  }
  GraphicNode = nullptr;
  Data = 0;
  if (graphic != nullptr && AddReference(graphic) != nullptr) {
    GraphicNode = graphic;
    Data = reinterpret_cast<uintptr_t>(graphic);
  }
}

void LumoSequenceNode::DoFree() {
  LumoGraphicNode* graphic = GraphicNode;
  SetGraphic(nullptr);
  if (graphic != nullptr && graphic->Name == nullptr) {
    if (Engine != nullptr) {
      Engine->DisposeObject(graphic);
    } else {
      DestroyObject(graphic);
    }
  }
  LumoNode::DoFree();
}

void LumoSequenceNode::Unload() { SetGraphic(nullptr); }

void LumoSequenceNode::OnAbortReferenceTo(LumoObject* other) {
  LumoNode::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(GraphicNode)) {
    GraphicNode = nullptr;
    Data = 0;
  }
}

void LumoSequenceNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", Duration=%u, Left=%i, Top=%i", Duration, Left, Top);
}

uint32_t LumoSequenceNode::SetDuration(uint32_t frames) { return Duration = frames != 0 ? frames : 1; }
int32_t LumoSequenceNode::SetLeft(int32_t left) { return Left = left; }
int32_t LumoSequenceNode::SetTop(int32_t top) { return Top = top; }

void LumoSequenceNode::SetOffset(int32_t left, int32_t top) {
  SetLeft(left);
  SetTop(top);
}

bool LumoSequenceNode::LoadDuration(LumoStream* stream, const LumoProperty* property) {
  uint32_t frames = 0;
  if (!LoadPropertyFrom(stream, property, &frames)) {
    return false;
  }
  SetDuration(frames);
  return true;
}

bool LumoSequenceNode::SaveDuration(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Duration);
}

// Only named graphics travel: a graphic made by a builder has no name and
// is saved as none.
bool LumoSequenceNode::SaveData(LumoStream* stream, const LumoProperty*) {
  const bool present = GraphicNode != nullptr && GraphicNode->Name != nullptr && GraphicNode->Name[0] != '\0';
  if (!stream->WriteBool(present)) {
    return false;
  }
  return !present || (stream->WriteBool(false) && stream->WriteCharStr(GraphicNode->Name));
}

bool LumoSequenceNode::LoadData(LumoStream* stream, const LumoProperty*) {
  SetGraphic(nullptr);
  bool present = false;
  if (!stream->ReadBool(present)) {
    return false;
  }
  if (!present) {
    return true;
  }
  const auto refuse = [&](const char* why, const char* name) {
    DebugPrint("LumoSequenceNode::LoadData() %s (Name=%s, Node=%p)\n", why, DebugText(name), DebugAddress(this));
    return false;
  };
  bool second = false;
  if (!stream->ReadBool(second)) {
    return false;
  }
  if (second) {
    return refuse("The stored graphic is of an unknown form", nullptr);
  }
  tCharStr name = nullptr;
  const bool read = stream->ReadCharStr(name);
  const auto freeName = [&] { FreeCharStr(name); };
  if (!read || name == nullptr) {
    freeName();
    return refuse("The stored graphic has no name", nullptr);
  }
  LumoGraphicList* list = Engine != nullptr && Engine->Level != nullptr ? Engine->Level->GraphicList.get() : nullptr;
  if (list == nullptr) {
    refuse("No level's graphic list to find the graphic in", name);
    freeName();
    return false;
  }
  const bool known = list->FindByName(name) != nullptr;
  LumoGraphicNode* graphic = list->ProvideGraphic(name);
  if (graphic == nullptr || graphic->Data == 0) {
    // A node made here for a name that yields no picture does not stay.
    if (graphic != nullptr && !known && !graphic->HasReferrers()) {
      DestroyObject(graphic);
    }
    refuse("The graphic has no picture", name);
    freeName();
    return false;
  }
  freeName();
  SetGraphic(graphic);
  return true;
}
