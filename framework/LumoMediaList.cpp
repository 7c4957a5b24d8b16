#include "framework/LumoMediaList.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoMediaNode.h"

namespace {

LumoClassOf<LumoMediaList> classOfLumoMediaList(kVersion_1_4_0_0, "LumoMediaList", "LumoSortedList");

}  // namespace

LumoMediaList::LumoMediaList() { SetUnique(true); }

const char* LumoMediaList::GetClassName() const { return "LumoMediaList"; }

bool LumoMediaList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoMediaNode*>(object) == nullptr) {
    DebugPrint("LumoMediaList::DoRegisterObject() The item is not a media node (Item=%p:%s, List=%p:%s)\n",
               DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
    return false;
  }
  return LumoSortedList::DoRegisterObject(object);
}

template <typename Visit>
void LumoMediaList::ForEachMedia(Visit&& visit) {
  VisitItems([&](LumoNode* item) {
    if (auto* media = dynamic_cast<LumoMediaNode*>(item)) {
      visit(*media);
    }
    return false;
  });
}

void LumoMediaList::UpdateAll() {
  ForEachMedia([](LumoMediaNode& media) { media.Update(); });
}

void LumoMediaList::CheckAll() {
  ForEachMedia([](LumoMediaNode& media) { media.Check(); });
}

void LumoMediaList::StopAll() {
  ForEachMedia([](LumoMediaNode& media) {
    media.SetStarted(false);
    if (media.Data != 0) {
      media.DoStop();
    }
  });
}

void LumoMediaList::PauseAll() {
  ForEachMedia([](LumoMediaNode& media) {
    if (media.Data == 0) {
      return;
    }
    media.Frozen = media.IsMediaPlaying();
    if (media.Frozen) {
      media.DoPause();
    }
    media.LastPosition = media.DoPosition();
  });
}

void LumoMediaList::ResumeAll() {
  ForEachMedia([](LumoMediaNode& media) {
    if (media.Data == 0) {
      return;
    }
    media.DoSetPosition(media.LastPosition);
    if (media.Frozen) {
      media.DoResume();
      media.Frozen = false;
    }
  });
}
