#include "base/LumoObjects.h"

#include <algorithm>
#include <cstring>

#include "base/DebugFormat.h"
#include "base/ElementCallbacks.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"

namespace {

LumoClassOf<LumoObjects> classOfLumoObjects(kVersion_1_4_0_0, "LumoObjects", "LumoObject");
LumoFieldProperty<LumoObjects, &LumoObjects::LoadGrowth, &LumoObjects::SaveGrowth> lumoObjectsGrowth(
    kVersion_1_4_0_0, PropertyPointer, "tPointer", "Growth");
LumoFieldProperty<LumoObjects, &LumoObjects::LoadCount, &LumoObjects::SaveCount> lumoObjectsCount(
    kVersion_1_4_0_0, PropertyPointer, "tPointer", "Count");

// The fewest bytes one stored element takes: its record's header and the
// length of its class name, and its slot index.
constexpr int64_t kMinStoredElementBytes = 8 + 4 + 4;

void ReportLoadFault(const LumoObjects* collection, const char* reason, int64_t value) {
  DebugPrint("LumoObjects::LoadCount() %s (Value=%lld, Object=%p:%s)\n", reason, static_cast<long long>(value),
             DebugAddress(collection), DebugClassName(collection));
}

}  // namespace

LumoObjects::LumoObjects(bool ownsElements)
    : LumoObjectCollection(ownsElements ? DestroyObjectElement : nullptr, CompareObjectElements,
                           CompareKeyToObjectElement) {}

const char* LumoObjects::GetClassName() const { return "LumoObjects"; }

bool LumoObjects::Assign(const tObject* other) {
  const auto* source = dynamic_cast<const LumoObjects*>(other);
  if (source == nullptr) {
    return false;
  }
  if (source != this) {
    // Dropped first, so an owning collection ends what it held rather than
    // losing it under the copied pointers.
    Clear();
    if (source->count > 0 && SetCount(source->count)) {
      std::memcpy(items, source->items, sizeof(LumoObject*) * static_cast<size_t>(source->count));
    }
    growth = source->growth > 1 ? source->growth : kDefaultGrowth;
  }
  LumoObject::Assign(other);
  return true;
}

void LumoObjects::DoDeactivate() { Clear(); }

bool LumoObjects::DoRegisterObject(LumoObject* object) { return Append(object); }

bool LumoObjects::DoUnregisterObject(LumoObject* object) {
  const int32_t index = IndexOf(object);
  if (index < 0) {
    return false;
  }
  items[index] = nullptr;
  return DeleteAt(index);
}

// ---- Stream form ----

bool LumoObjects::LoadGrowth(LumoStream* stream, const LumoProperty*) {
  int32_t stored = 0;
  if (stream == nullptr || !stream->ReadInteger(stored) || stored < 0) {
    return false;
  }
  growth = stored > 1 && stored <= kMaxGrowth ? stored : kDefaultGrowth;
  if (stored > kMaxGrowth) {
    DebugPrint("LumoObjects::LoadGrowth() Growth step out of range (Growth=%i, Object=%p:%s)\n", stored,
               DebugAddress(this), DebugClassName(this));
  }
  return stored > 1 && stored <= kMaxGrowth;
}

bool LumoObjects::SaveGrowth(LumoStream* stream, const LumoProperty*) {
  // The load takes only 2 to kMaxGrowth, so a step set outside that range is
  // stored as the nearest one it takes: the record must read back.
  return stream != nullptr && stream->WriteInteger(std::clamp(growth, 2, kMaxGrowth));
}

bool LumoObjects::SaveCount(LumoStream* stream, const LumoProperty*) {
  if (stream == nullptr) {
    return false;
  }
  int32_t stored = 0;
  for (int32_t slot = 0; slot < count; ++slot) {
    stored += items[slot] != nullptr ? 1 : 0;
  }
  if (!stream->WriteInteger(count) || !stream->WriteInteger(stored)) {
    return false;
  }
  for (int32_t slot = 0; slot < count; ++slot) {
    if (items[slot] != nullptr && !items[slot]->SaveObject(stream, 0)) {
      return false;
    }
  }
  for (int32_t slot = count - 1; slot >= 0; --slot) {
    if (items[slot] != nullptr && !stream->WriteInteger(slot)) {
      return false;
    }
  }
  return true;
}

bool LumoObjects::LoadCount(LumoStream* stream, const LumoProperty*) {
  int32_t slots = 0;
  int32_t stored = 0;
  if (stream == nullptr || !stream->ReadInteger(slots) || !stream->ReadInteger(stored) || slots < 0 ||
      stored < 0) {
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (remaining >= 0 && stored > remaining / kMinStoredElementBytes) {
    ReportLoadFault(this, "More elements than the stream can hold", stored);
    return false;
  }
  if (slots < stored || slots > kMaxLoadedSlots) {
    ReportLoadFault(this, "Slot count out of range", slots);
    return false;
  }
  // The stored elements replace whatever the collection held.
  Clear();
  for (int32_t position = 0; position < stored; ++position) {
    LumoObject* object = LoadObject(stream, this);
    // Each element registers itself, that is, it is appended.
    if (object == nullptr || count != position + 1 || items[position] != object) {
      return false;
    }
  }
  if (slots > 0 && !SetCount(slots)) {
    return false;
  }
  for (int32_t position = stored - 1; position >= 0; --position) {
    int32_t slot = 0;
    if (!stream->ReadInteger(slot) || !PlaceLoaded(position, slot)) {
      return false;
    }
  }
  return true;
}

// A slot index must lie inside the count and name a free slot, or the
// element's own position: nothing is ever overwritten or lost.
bool LumoObjects::PlaceLoaded(int32_t position, int32_t slot) {
  if (slot == position) {
    return true;
  }
  if (slot < 0 || slot >= count || items[slot] != nullptr) {
    ReportLoadFault(this, "Invalid slot index", slot);
    return false;
  }
  items[slot] = items[position];
  items[position] = nullptr;
  return true;
}
