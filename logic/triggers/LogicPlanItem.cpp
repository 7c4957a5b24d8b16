#include "logic/triggers/LogicPlanItem.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoStream.h"
#include "base/TextUtils.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLThing.h"

namespace {

LumoClassOf<LogicPlanItem> classOfLogicPlanItem(kVersion_1_6_0_6, "LogicPlanItem", "YLEditableObject");
LOGIC_FIELD_PROPERTY(LogicPlanItem, Next, PropertyObject, "tUnknown");
LOGIC_FIELD_PROPERTY(LogicPlanItem, Time, PropertyInteger, "tInteger");

}  // namespace

LogicPlanItem::LogicPlanItem() = default;
LogicPlanItem::~LogicPlanItem() = default;

const char* LogicPlanItem::GetClassName() const { return "LogicPlanItem"; }

// Each item is cut off before it is destroyed, so a chain of any length is
// freed in a loop and never nests one free inside another.
void LogicPlanItem::DoFree() {
  LogicPlanItem* rest = Next;
  Next = nullptr;
  while (rest != nullptr) {
    LogicPlanItem* after = rest->Next;
    rest->Next = nullptr;
    DestroyObject(rest);
    rest = after;
  }
  YLEditableObject::DoFree();
}

// ---- The editor protocol ----

int32_t LogicPlanItem::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLEditableObject::SetProperty(index, text);
  if (remaining == 0) {
    CLogic* logic = YLThing::GetLogic();
    if (logic == nullptr) {
      Time = static_cast<uint32_t>(ParseInt(text));
    } else {
      logic->RemovePlan(this);
      Time = static_cast<uint32_t>(ParseInt(text));
      logic->InsertPlan(this, Time - logic->Time);
    }
  }
  return remaining - 1;
}

void LogicPlanItem::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: LogicPlanItem", static_cast<int32_t>(Time));
  }
}

tStrings& LogicPlanItem::EditorLabels() {
  static tStrings labels;
  return labels;
}

tStrings& LogicPlanItem::EditorValues() {
  static tStrings values;
  return values;
}

void LogicPlanItem::GetProperties(tStrings*& labels, tStrings*& values) {
  EditorLabels().Clear();
  EditorValues().Clear();
  labels = &EditorLabels();
  values = &EditorValues();
  BuildProperties();
}

void LogicPlanItem::BuildProperties() {
  EditorLabels().Add("time");
  EditorValues().Add(FormatUnsigned(Time).text);
}

// ---- Running ----

void LogicPlanItem::Execute(CLogic*) {}
uint32_t LogicPlanItem::GetFrequency() { return 0; }
void LogicPlanItem::PrintToLog() { DebugPrint("time=%d\n", static_cast<int32_t>(Time)); }
bool LogicPlanItem::ShowsCountdown() { return false; }

const char* LogicPlanItem::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    buffer[0] = '\0';
  }
  return buffer;
}

uint32_t LogicPlanItem::GetTime() { return Time; }
void LogicPlanItem::ResolveReferences() {}

// ---- Stream form ----
//
// A list is stored as one nested chain: an item's record holds the next
// item's whole record in its Next field, ahead of its own Time and of the
// fields its subclasses add. Written and read by nesting one record in the
// other, a long list would take one level of recursion per item: a few
// thousand items overflow the stack while saving, and the object stream
// refuses records nested deeper than it allows, so a list of more than about
// a thousand items would save but never load again. So the rest of a chain is
// written and read here in a loop, in exactly the nested form:
//
//   head of item 1, Next present, head of item 2, Next present, ...,
//   head of item n, Next absent, fields of item n, ..., fields of item 1
//
// where an item's head is its record's header and class name, and its fields
// are those stored after Next (Next is the first field every plan item
// stores: its bases store none).

namespace {

// Saving: the item being written into a scratch stream, whose Next writes
// only its presence byte; where that byte ends is noted.
struct FlatSave {
  const LogicPlanItem* item;
  int32_t presenceEnd;
};
thread_local FlatSave* flatSave = nullptr;

// Loading: the item whose fields are being read behind the rest of its
// chain; its Next (the presence byte was read with its head) takes the
// chain already read.
struct ResumedLoad {
  const LogicPlanItem* item;
  LogicPlanItem* successor;
  bool attached;
};
thread_local ResumedLoad* resumedLoad = nullptr;

template <typename Context>
class ContextScope {
 public:
  ContextScope(Context*& slot, Context* context) : slot_(slot), previous_(slot) { slot_ = context; }
  ~ContextScope() { slot_ = previous_; }
  ContextScope(const ContextScope&) = delete;
  ContextScope& operator=(const ContextScope&) = delete;

 private:
  Context*& slot_;
  Context* previous_;
};

// Puts the stream's version back whichever way reading ends.
class VersionScope {
 public:
  explicit VersionScope(LumoStream* stream) : stream_(stream), version_(stream->version) {}
  ~VersionScope() { stream_->SetVersion(version_); }
  VersionScope(const VersionScope&) = delete;
  VersionScope& operator=(const VersionScope&) = delete;

 private:
  LumoStream* stream_;
  uint32_t version_;
};

// Writes the chain from first on, each record nested in the one before.
// Each item is saved alone into a scratch stream: the bytes up to its
// presence byte go out at once, the rest waits until every later item is
// written.
bool SaveChain(LumoStream* stream, LogicPlanItem* first) {
  LumoMemoryStream scratch;
  if (!scratch.OpenNew(256, 1, 0) || scratch.SetGrowth(4096) == 0) {
    DebugPrint("LogicPlanItem::SaveNext: no room to write the plan list\n");
    return false;
  }
  std::vector<uint8_t> fields;
  std::vector<size_t> fieldStarts;
  for (LogicPlanItem* item = first; item != nullptr; item = item->Next) {
    if (scratch.SetPosition(0) != 0) {
      return false;
    }
    FlatSave flat{item, -1};
    {
      const ContextScope<FlatSave> scope(flatSave, &flat);
      if (!item->SaveObject(&scratch, 0)) {
        return false;
      }
    }
    const uint32_t end = scratch.position;
    if (flat.presenceEnd < 0 || static_cast<uint32_t>(flat.presenceEnd) > end) {
      DebugPrint("LogicPlanItem::SaveNext: a %s did not store its next item\n", item->GetClassName());
      return false;
    }
    const auto split = static_cast<uint32_t>(flat.presenceEnd);
    if (!stream->WriteBlock(scratch.buffer, split)) {
      return false;
    }
    fieldStarts.push_back(fields.size());
    fields.insert(fields.end(), scratch.buffer + split, scratch.buffer + end);
  }
  size_t end = fields.size();
  for (size_t index = fieldStarts.size(); index-- > 0;) {
    const size_t start = fieldStarts[index];
    if (end > start && !stream->WriteBlock(fields.data() + start, static_cast<uint32_t>(end - start))) {
      return false;
    }
    end = start;
  }
  return true;
}

// The items read so far whose fields are still to come, innermost last,
// and the finished tail behind them; whatever is left when reading stops
// is freed.
class PendingChain {
 public:
  PendingChain() = default;
  PendingChain(const PendingChain&) = delete;
  PendingChain& operator=(const PendingChain&) = delete;
  ~PendingChain() {
    for (const Entry& entry : entries) {
      DestroyObject(entry.item);
    }
    DestroyObject(tail);
  }

  struct Entry {
    LogicPlanItem* item;
    uint32_t version;
  };
  std::vector<Entry> entries;
  LogicPlanItem* tail = nullptr;
};

// Reads an item's head: the record's header, its class name, and the
// presence byte of its Next. Null (logged) when the record is not a plan item.
LogicPlanItem* ReadHead(LumoStream* stream, bool& more) {
  if (!stream->ReadHeader()) {
    DebugPrint("LogicPlanItem::LoadNext: the next item is not a stored object\n");
    return nullptr;
  }
  tCharStr name = nullptr;
  if (!stream->ReadCharStr(name)) {
    DebugPrint("LogicPlanItem::LoadNext: cannot read the next item's class name\n");
    return nullptr;
  }
  std::unique_ptr<char, void (*)(char*)> nameOwner(name, [](char* text) { FreeCharStr(text); });
  LumoObject* made = CreateObject(name, nullptr);
  if (made == nullptr) {
    DebugPrint("LogicPlanItem::LoadNext: the next item's class %s is unknown\n", DebugText(name));
    return nullptr;
  }
  auto* item = dynamic_cast<LogicPlanItem*>(made);
  if (item == nullptr) {
    DebugPrint("LogicPlanItem::LoadNext: the next item is a %s, not a plan item\n", made->GetClassName());
    DestroyObject(made);
    return nullptr;
  }
  more = false;
  if (!LogicPlanItem_Next.IsNewerThan(stream) && !stream->ReadBool(more)) {
    DestroyObject(item);
    return nullptr;
  }
  return item;
}

// Reads the chain whose first record starts here; first receives it.
bool LoadChain(LumoStream* stream, LogicPlanItem*& first) {
  const VersionScope version(stream);
  PendingChain chain;
  for (bool more = true; more;) {
    LogicPlanItem* item = ReadHead(stream, more);
    if (item == nullptr) {
      return false;
    }
    chain.entries.push_back({item, stream->version});
  }
  while (!chain.entries.empty()) {
    const PendingChain::Entry entry = chain.entries.back();
    chain.entries.pop_back();
    stream->SetVersion(entry.version);
    ResumedLoad resumed{entry.item, chain.tail, false};
    bool loaded = false;
    try {
      const ContextScope<ResumedLoad> scope(resumedLoad, &resumed);
      loaded = entry.item->LoadFrom(stream);
    } catch (...) {
      if (resumed.attached) {
        chain.tail = nullptr;  // the item holds it now
      }
      DestroyObject(entry.item);
      throw;
    }
    if (resumed.attached) {
      chain.tail = nullptr;
    }
    if (!loaded || (!resumed.attached && chain.tail != nullptr)) {
      DebugPrint("LogicPlanItem::LoadNext: cannot load a %s of the plan list\n", entry.item->GetClassName());
      DestroyObject(entry.item);
      return false;
    }
    chain.tail = entry.item;
  }
  first = chain.tail;
  chain.tail = nullptr;
  return true;
}

}  // namespace

// What Next held is replaced by the loaded chain; a record of another class
// in the chain fails the load.
bool LogicPlanItem::LoadNext(LumoStream* stream, const LumoProperty*) {
  if (resumedLoad != nullptr && resumedLoad->item == this) {
    DestroyObject(Next);
    Next = resumedLoad->successor;
    resumedLoad->attached = true;
    return true;
  }
  bool present = false;
  if (!stream->ReadBool(present)) {
    return false;
  }
  LogicPlanItem* chain = nullptr;
  if (present && !LoadChain(stream, chain)) {
    return false;
  }
  DestroyObject(Next);
  Next = chain;
  return true;
}

bool LogicPlanItem::SaveNext(LumoStream* stream, const LumoProperty*) {
  if (flatSave != nullptr && flatSave->item == this) {
    if (!stream->WriteSignedByte(Next != nullptr ? 1 : 0)) {
      return false;
    }
    flatSave->presenceEnd = stream->GetPosition();
    return flatSave->presenceEnd >= 0;
  }
  return stream->WriteSignedByte(Next != nullptr ? 1 : 0) && (Next == nullptr || SaveChain(stream, Next));
}

bool LogicPlanItem::LoadTime(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Time);
}

bool LogicPlanItem::SaveTime(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Time);
}
