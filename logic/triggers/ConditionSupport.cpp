#include "logic/triggers/ConditionSupport.h"

#include <cstdio>

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLThing.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace trigger_conditions {

namespace {

constexpr const char* kSectorsTag = "secs:";

const YLKnowledgeMap* GridOf(const CLogic* logic) {
  return logic != nullptr && logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
}

}  // namespace

YLThing* FindThing(const CLogic* logic, int32_t id) {
  if (logic == nullptr || logic->Things == nullptr || id < 1 || id >= logic->Things->count) {
    return nullptr;
  }
  YLThing* thing = logic->GetThing(id);
  return thing != nullptr && thing->Info != nullptr ? thing : nullptr;
}

bool IsAlive(const YLThing& thing) { return thing.Info != nullptr && (thing.Info->Status & StatusAlive) != 0; }

bool IsKnownSector(const CLogic* logic, int32_t sector) {
  const YLKnowledgeMap* grid = GridOf(logic);
  const YLSectors* sectors = grid != nullptr ? grid->GetSectors() : nullptr;
  return sectors != nullptr && sectors->GetSector(sector) != nullptr;
}

int32_t SectorOf(const CLogic* logic, const YLThing& thing) {
  const YLKnowledgeMap* grid = GridOf(logic);
  if (grid == nullptr || thing.Info == nullptr) {
    return -1;
  }
  return grid->GetSector(thing.Info->X, thing.Info->Y);
}

void CollectSectorUnits(const CLogic* logic, int32_t sector, tIdList& ids) {
  ids.Clear();
  if (logic != nullptr && logic->Map != nullptr) {
    logic->Map->GetSectorPaths(sector, ids);
  }
}

void AddLine(tStrings& labels, tStrings& values, const char* label, const char* value) {
  labels.Add(label);
  values.Add(value);
}

void AddLine(tStrings& labels, tStrings& values, const char* label, int32_t value) {
  AddLine(labels, values, label, FormatInt(value).text);
}

void AddListLines(tStrings& labels, tStrings& values, const char* countLabel, const char* entryFormat,
                  const tIdList& list) {
  AddLine(labels, values, countLabel, list.count);
  for (int32_t index = 0; index < list.count; ++index) {
    char label[32];
    std::snprintf(label, sizeof label, entryFormat, index);
    AddLine(labels, values, label, list[index]);
  }
}

void WriteRecord(char* buffer, size_t size, const char* text) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%s", text);
  }
}

bool LoadSectorList(LumoStream* stream, tIdList& list) {
  if (ReadMarker(stream, kSectorsTag)) {
    return ReadIdList(stream, list);
  }
  int32_t sector = 0;
  if (!stream->ReadInteger(sector)) {
    return false;
  }
  list.Clear();
  return list.Append(sector);
}

bool SaveSectorList(LumoStream* stream, const tIdList& list) {
  return WriteMarker(stream, kSectorsTag) && WriteIdList(stream, list);
}

}  // namespace trigger_conditions
