#include "game/ResourceForms.h"

#include <algorithm>
#include <limits>

#include "base/DebugFormat.h"
#include "base/LumoObjects.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGauge.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSoundList.h"

LumoGraphicList* CurrentGraphicList() {
  return Engine != nullptr && Engine->Level != nullptr ? Engine->Level->GraphicList.get() : nullptr;
}

LumoSoundList* CurrentSoundList() {
  return Engine != nullptr && Engine->Level != nullptr ? Engine->Level->SoundList.get() : nullptr;
}

void AdvanceLoaderGauge(int64_t amount) {
  LumoGauge* gauge = Engine != nullptr && Engine->Level != nullptr ? Engine->Level->LoaderGauge : nullptr;
  if (gauge == nullptr || amount == 0) {
    return;
  }
  // A stored estimate is untrusted: the sum is taken wide and the gauge
  // clamps it to its bounds.
  const int64_t progress = std::clamp<int64_t>(static_cast<int64_t>(gauge->Progress) + amount,
                                               std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max());
  gauge->SetProgress(static_cast<int32_t>(progress));
}

bool CheckResourceAxis(const char* className, const char* field, int32_t value) {
  if (value >= 0 && value <= kMaxResourceAxis) {
    return true;
  }
  DebugPrint("(RES) %s %s %d is out of range 0..%d\n", className, field, value, kMaxResourceAxis);
  return false;
}

bool CheckResourceSlots(const char* className, const LumoObjects& collection, int64_t expected) {
  if (collection.count == expected) {
    return true;
  }
  DebugPrint("(RES) %s holds %d entries where its counts give %lld\n", className, collection.count,
             static_cast<long long>(expected));
  return false;
}

bool SaveGraphicName(LumoStream* stream, const LumoGraphicNode* graphic) {
  if (stream == nullptr || graphic == nullptr || graphic->Name == nullptr || graphic->Name[0] == '\0') {
    return false;
  }
  return stream->WriteCharStr(graphic->Name);
}

LumoGraphicNode* LoadGraphicByName(LumoStream* stream, const char* className) {
  tCharStr name = nullptr;
  if (stream == nullptr || !stream->ReadCharStr(name)) {
    DebugPrint("(RES) %s couldn't read its graphic's name\n", className);
    return nullptr;
  }
  LumoGraphicList* graphics = CurrentGraphicList();
  LumoGraphicNode* graphic = graphics != nullptr && name != nullptr ? graphics->ProvideGraphic(name) : nullptr;
  if (graphic == nullptr) {
    DebugPrint("(RES) %s couldn't provide graphic %s\n", className, name != nullptr ? name : "(null)");
  }
  FreeCharStr(name);
  return graphic;
}

int32_t FrameCount(const LumoSequenceList* list) { return list != nullptr ? list->Count : 0; }

int32_t SequenceBytes(const LumoSequenceList* list) { return FrameCount(list) * 56 + 64; }

namespace {

LumoGauge* CurrentLoaderGauge() {
  return Engine != nullptr && Engine->Level != nullptr ? Engine->Level->LoaderGauge : nullptr;
}

}  // namespace

int64_t LoaderGaugeShare(int64_t scale) {
  const LumoGauge* gauge = CurrentLoaderGauge();
  if (gauge == nullptr || gauge->Maximum <= 0) {
    return -1;
  }
  return static_cast<int64_t>(gauge->Progress) * scale / gauge->Maximum;
}

void DrawLoaderGaugeIfGrown(int64_t before, int64_t scale) {
  if (before < 0) {
    return;
  }
  const int64_t after = LoaderGaugeShare(scale);
  if (after > before && Engine != nullptr) {
    Engine->Timer();
  }
}

void RaiseLoaderGaugeMaximum(int64_t amount) {
  LumoGauge* gauge = CurrentLoaderGauge();
  if (gauge == nullptr) {
    return;
  }
  // Setting the bounds sends the gauge back to its minimum; the work done so
  // far stays done.
  const int32_t progress = gauge->Progress;
  gauge->SetMinimum(0);
  const int64_t maximum = std::clamp<int64_t>(static_cast<int64_t>(gauge->Maximum) + amount, 0,
                                              std::numeric_limits<int32_t>::max());
  gauge->SetMaximum(static_cast<int32_t>(maximum));
  gauge->SetProgress(progress);
}
