#include "base/DebugFormat.h"
#include "base/LumoBSP.h"
#include "base/LumoStream.h"

// The stream forms of the box, the object list and the children.

namespace {

// The smallest object record a stream can hold: the 8-byte header and the
// 4-byte length of the class name. A count or a presence flag that promises
// more records than the rest of the stream can hold is refused at once.
constexpr int64_t kMinimumRecordBytes = 12;

// A stored tree sets the depth of the recursion that loads it; a damaged or
// hostile stream must not be able to exhaust the stack. A built tree of
// 32-bit boxes is at most 63 levels deep (and a float one a few hundred).
constexpr int32_t kMaximumLoadDepth = 512;

bool RecordsFit(LumoStream* stream, int64_t records) {
  const int64_t remaining = stream->GetBytesRemaining();
  return remaining < 0 || records <= remaining / kMinimumRecordBytes;
}

bool ReadCoordinate(LumoStream* stream, int32_t& value) { return stream->ReadInteger(value); }
bool ReadCoordinate(LumoStream* stream, float& value) { return stream->ReadSingle(value); }
bool WriteCoordinate(LumoStream* stream, int32_t value) { return stream->WriteInteger(value); }
bool WriteCoordinate(LumoStream* stream, float value) { return stream->WriteSingle(value); }

// Reads every component, then stores them, so a short read leaves the point
// as it was.
template <typename Point>
bool ReadPoint(LumoStream* stream, Point& point) {
  Point read;
  if (stream == nullptr || !ReadCoordinate(stream, read.x) || !ReadCoordinate(stream, read.y)) {
    return false;
  }
  point = read;
  return true;
}

template <typename Point>
bool WritePoint(LumoStream* stream, const Point& point) {
  return stream != nullptr && WriteCoordinate(stream, point.x) && WriteCoordinate(stream, point.y);
}

void ReportStreamFault(const char* operation, const tObject* object, const LumoStream* stream) {
  DebugPrint("%s (Object=%p:%s, Stream=%p)\n", operation, DebugAddress(object), DebugClassName(object),
             static_cast<const void*>(stream));
}

// Counts the nested child loads under way, for kMaximumLoadDepth.
class LoadDepth {
 public:
  LoadDepth() { ++Depth(); }
  ~LoadDepth() { --Depth(); }
  LoadDepth(const LoadDepth&) = delete;
  LoadDepth& operator=(const LoadDepth&) = delete;
  bool TooDeep() const { return Depth() > kMaximumLoadDepth; }

 private:
  static int32_t& Depth() {
    static int32_t depth = 0;
    return depth;
  }
};

}  // namespace

// ---- The box ----

template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::LoadOrigin(LumoStream* stream, const LumoProperty*) {
  if (!ReadPoint(stream, origin)) {
    ReportStreamFault("LumoBSPBounds::LoadOrigin() Cannot read the origin", this, stream);
    return false;
  }
  return true;
}

template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::SaveOrigin(LumoStream* stream, const LumoProperty*) {
  if (!WritePoint(stream, origin)) {
    ReportStreamFault("LumoBSPBounds::SaveOrigin() Cannot write the origin", this, stream);
    return false;
  }
  return true;
}

template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::LoadSize(LumoStream* stream, const LumoProperty*) {
  if (!ReadPoint(stream, size)) {
    ReportStreamFault("LumoBSPBounds::LoadSize() Cannot read the size", this, stream);
    return false;
  }
  return true;
}

template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::SaveSize(LumoStream* stream, const LumoProperty*) {
  if (!WritePoint(stream, size)) {
    ReportStreamFault("LumoBSPBounds::SaveSize() Cannot write the size", this, stream);
    return false;
  }
  return true;
}

// ---- The object list ----

// A signed 32-bit count, then one whole object record per object from the
// head of the list.
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveObjects(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  for (const Object* object = objects; object != nullptr; object = object->next) {
    ++count;
  }
  if (stream == nullptr || !stream->WriteInteger(count)) {
    ReportStreamFault("LumoBSPNode::SaveObjects() Cannot write the object count", this, stream);
    return false;
  }
  for (Object* object = objects; object != nullptr; object = object->next) {
    if (!object->SaveObject(stream, 0)) {
      ReportStreamFault("LumoBSPNode::SaveObjects() Cannot save an object", this, stream);
      return false;
    }
  }
  return true;
}

// The loaded objects join the end of the list in stream order. A record that
// is not a BSP object is destroyed and the load fails; the objects loaded
// before it stay in the node, which owns them.
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadObjects(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  if (stream == nullptr || !stream->ReadInteger(count)) {
    ReportStreamFault("LumoBSPNode::LoadObjects() Cannot read the object count", this, stream);
    return false;
  }
  if (count < 0 || !RecordsFit(stream, count)) {
    DebugPrint("LumoBSPNode::LoadObjects() Invalid object count %d (Object=%p:%s, Stream=%p)\n", count,
               DebugAddress(this), DebugClassName(this), static_cast<const void*>(stream));
    return false;
  }
  Object* tail = objects;
  while (tail != nullptr && tail->next != nullptr) {
    tail = tail->next;
  }
  for (int32_t index = 0; index < count; ++index) {
    LumoObject* loaded = LoadObject(stream, nullptr);
    auto* object = dynamic_cast<Object*>(loaded);
    if (object == nullptr) {
      DestroyObject(loaded);
      ReportStreamFault("LumoBSPNode::LoadObjects() Cannot load a BSP object", this, stream);
      return false;
    }
    object->node = this;
    object->previous = tail;
    object->next = nullptr;
    if (tail != nullptr) {
      tail->next = object;
    } else {
      objects = object;
    }
    tail = object;
  }
  return true;
}

// ---- The children ----

namespace {

// A presence flag, then the child's whole object record when there is one.
template <typename Node>
bool SaveChild(LumoStream* stream, Node* child, const Node* node, const char* operation) {
  if (stream == nullptr || !stream->WriteBool(child != nullptr) ||
      (child != nullptr && !child->SaveObject(stream, 0))) {
    ReportStreamFault(operation, node, stream);
    return false;
  }
  return true;
}

// The child becomes the node's, with the node as its parent; a child the
// slot held before is destroyed. An absent child leaves the slot as it is.
template <typename Node>
bool LoadChild(LumoStream* stream, Node* node, Node*& slot, const char* operation) {
  bool present = false;
  if (stream == nullptr || !stream->ReadBool(present)) {
    ReportStreamFault(operation, node, stream);
    return false;
  }
  if (!present) {
    return true;
  }
  LoadDepth depth;
  if (depth.TooDeep() || !RecordsFit(stream, 1)) {
    ReportStreamFault(operation, node, stream);
    return false;
  }
  LumoObject* loaded = LoadObject(stream, nullptr);
  auto* child = dynamic_cast<Node*>(loaded);
  if (child == nullptr) {
    DestroyObject(loaded);
    ReportStreamFault(operation, node, stream);
    return false;
  }
  node->DeleteChild(slot);
  // The walks that climb from a node to the root need the back link, which
  // a stored tree does not carry.
  child->parent = node;
  slot = child;
  return true;
}

}  // namespace

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveFirstChild(LumoStream* stream, const LumoProperty*) {
  return SaveChild(stream, firstChild, this, "LumoBSPNode::SaveFirstChild() Cannot save the first child");
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveSecondChild(LumoStream* stream, const LumoProperty*) {
  return SaveChild(stream, secondChild, this, "LumoBSPNode::SaveSecondChild() Cannot save the second child");
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadFirstChild(LumoStream* stream, const LumoProperty*) {
  return LoadChild(stream, this, firstChild, "LumoBSPNode::LoadFirstChild() Cannot load the first child");
}

template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadSecondChild(LumoStream* stream, const LumoProperty*) {
  return LoadChild(stream, this, secondChild, "LumoBSPNode::LoadSecondChild() Cannot load the second child");
}

// ---- The instantiations ----

template bool LumoBSPBounds<2, int32_t>::LoadOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::SaveOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::LoadSize(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::SaveSize(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::LoadOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::SaveOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::LoadSize(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::SaveSize(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveSecondChild(LumoStream*, const LumoProperty*);
