#include "framework/LumoMovieList.h"

#include <new>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoMovieNode.h"

namespace {

LumoClassOf<LumoMovieList> classOfLumoMovieList(kVersion_1_4_0_0, "LumoMovieList", "LumoMediaList");

}  // namespace

LumoMovieList::LumoMovieList() = default;

const char* LumoMovieList::GetClassName() const { return "LumoMovieList"; }

LumoNode* LumoMovieList::CreateItem() { return new (std::nothrow) LumoMovieNode; }

bool LumoMovieList::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<LumoMovieNode*>(object) == nullptr) {
    DebugPrint("LumoMovieList::DoRegisterObject() The item is not a movie node (Item=%p:%s, List=%p:%s)\n",
               DebugAddress(object), DebugClassName(object), DebugAddress(this), DebugClassName(this));
    return false;
  }
  return LumoMediaList::DoRegisterObject(object);
}

void LumoMovieList::OnAbortReferenceTo(LumoObject* other) {
  LumoMediaList::OnAbortReferenceTo(other);
  if (other != nullptr && static_cast<const void*>(other) == static_cast<const void*>(GraphicList)) {
    GraphicList = nullptr;
  }
}

void LumoMovieList::DoFree() {
  SetGraphicList(nullptr);
  LumoMediaList::DoFree();
}

LumoGraphicList* LumoMovieList::SetGraphicList(LumoGraphicList* list) {
  if (list == GraphicList) {
    return GraphicList;
  }
  if (GraphicList != nullptr) {
    RemoveReference(GraphicList);
  }
  GraphicList = nullptr;
  if (list != nullptr && AddReference(list) != nullptr) {
    GraphicList = list;
  }
  return GraphicList;
}

LumoMovieNode* LumoMovieList::FindOrLoadMovie(const char* name, LumoGraphicNode* display, bool attach) {
  auto* movie = dynamic_cast<LumoMovieNode*>(FindOrCreate(name));
  if (movie == nullptr) {
    return nullptr;
  }
  if (movie->Data != 0) {
    return movie;
  }
  movie->Load();
  if (movie->Data == 0 || (attach && movie->SetDisplay(display) == nullptr)) {
    if (Engine != nullptr) {
      Engine->DisposeObject(movie);
    } else {
      DestroyObject(movie);
    }
    return nullptr;
  }
  return movie;
}
