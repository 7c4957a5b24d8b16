#include "framework/LumoGraphicList.h"

#include <cstdio>
#include <new>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoObjectFiles.h"
#include "runtime/Folders.h"

namespace {

LumoClassOf<LumoGraphicList> classOfLumoGraphicList(kVersion_1_4_0_0, "LumoGraphicList", "LumoSortedList");

// The file-information kind of stored graphic nodes (".lmg").
constexpr int32_t kGraphicNodeFileKind = 16;

}  // namespace

LumoGraphicList::LumoGraphicList() {
  SetUnique(true);
  WorkImage.Create(0, 1, 1, 0xF800, 0x07E0, 0x001F, 0, 16, kImageTopDown, 0, false, kImageVersionGraphic);
}

const char* LumoGraphicList::GetClassName() const { return "LumoGraphicList"; }

LumoNode* LumoGraphicList::CreateItem() { return new (std::nothrow) LumoGraphicNode; }

bool LumoGraphicList::SetAllowStored(bool flag) {
  Flags = flag ? Flags | kAllowStoredFlag : Flags & ~kAllowStoredFlag;
  return flag;
}

bool LumoGraphicList::SetSaveInWorkFormat(bool flag) {
  Flags = flag ? Flags | kSaveInWorkFormatFlag : Flags & ~kSaveInWorkFormatFlag;
  return flag;
}

bool LumoGraphicList::SetWorkFormat(const tImage* image) {
  if (image == nullptr) {
    return false;
  }
  tImage format;
  if (!format.Create(0, 1, 1, image->GetRedMask(), image->GetGreenMask(), image->GetBlueMask(), image->GetAlphaMask(),
                     image->GetBitsPerPixel(), kImageTopDown, 0, false, kImageVersionGraphic)) {
    return false;
  }
  format.SetFormatRecord(image->GetFormatRecord());
  return WorkImage.Assign(&format);
}

// ---- Named graphics ----

LumoGraphicNode* LumoGraphicList::ProvideGraphicAt(const char* name, int32_t left, int32_t top) {
  auto* node = dynamic_cast<LumoGraphicNode*>(FindOrCreate(name));
  if (node != nullptr) {
    node->SetOrigin(left, top);
  }
  return node;
}

LumoGraphicNode* LumoGraphicList::FindGraphic(const char* name, int32_t left, int32_t top, bool alpha) {
  LumoGraphicNode* node = ProvideGraphicAt(name, left, top);
  if (node == nullptr) {
    return nullptr;
  }
  if (alpha) {
    node->LoadAlphaInformation();
  } else if (node->Data == 0) {
    node->Load();
  }
  return node;
}

LumoGraphicNode* LumoGraphicList::ProvideGraphic(const char* name) {
  if (name == nullptr) {
    return nullptr;
  }
  if (LumoNode* found = FindByName(name)) {
    return dynamic_cast<LumoGraphicNode*>(found);
  }
  if ((Flags & kAllowStoredFlag) != 0) {
    LumoObject* stored = LoadObjectFromFile(FolderDefault, name, kGraphicNodeFileKind, this);
    if (stored == nullptr) {
      return nullptr;
    }
    if (auto* node = dynamic_cast<LumoGraphicNode*>(stored)) {
      return node;
    }
    DebugPrint("LumoGraphicList::ProvideGraphic() The stored object is not a graphic node (Name=%s, Object=%p:%s)\n",
               name, DebugAddress(stored), DebugClassName(stored));
    DestroyObject(stored);
    return nullptr;
  }
  auto* node = dynamic_cast<LumoGraphicNode*>(CreateNamedItem(name));
  if (node == nullptr) {
    return nullptr;
  }
  Append(node);
  if (node->Data == 0) {
    node->Load();
  }
  return node;
}

// ---- Made graphics ----

void LumoGraphicList::MakeKey(char kind, int32_t width, int32_t height, const sRGB& colour, uint32_t extra,
                              char (&key)[32]) {
  std::snprintf(key, sizeof key, "%c%04x%04x%02x%02x%02x%08x", kind, static_cast<unsigned>(width) & 0xFFFFu,
                static_cast<unsigned>(height) & 0xFFFFu, colour.Red, colour.Green, colour.Blue,
                static_cast<unsigned>(extra));
}

LumoGraphicNode* LumoGraphicList::FindGeneratedGraphic(char kind, int32_t width, int32_t height,
                                                       const sRGB& colour, uint32_t extra) {
  char key[32];
  MakeKey(kind, width, height, colour, extra, key);
  return dynamic_cast<LumoGraphicNode*>(FindByName(key));
}

// A shared graphic is named with its key before it joins the list, so the
// list's attach step indexes it at its sorted place.
template <typename Make>
LumoGraphicNode* LumoGraphicList::MakeGraphic(char kind, int32_t width, int32_t height, const sRGB& colour,
                                              bool shared, uint32_t extra, Make&& make) {
  char key[32];
  if (shared) {
    MakeKey(kind, width, height, colour, extra, key);
    if (auto* found = dynamic_cast<LumoGraphicNode*>(FindByName(key))) {
      return found;
    }
  }
  LumoGraphicNode* node = make();
  if (node == nullptr) {
    return nullptr;
  }
  node->Flags |= LumoGraphicNode::kMadeFlag;
  node->SetFillColour(colour);
  if (shared && node->SetName(key) == nullptr) {
    DestroyObject(node);
    return nullptr;
  }
  if (GraphicHandle graphic = CreateGraphic(width, height, colour)) {
    node->SetData(reinterpret_cast<uintptr_t>(graphic));
  }
  Append(node);
  return node;
}

LumoGraphicNode* LumoGraphicList::GetGeneratedGraphic(int32_t width, int32_t height, const sRGB& colour,
                                                      bool shared, uint32_t extra) {
  return MakeGraphic(kSharedFill, width, height, colour, shared, extra,
                     []() -> LumoGraphicNode* { return new (std::nothrow) LumoGraphicNode; });
}

LumoTurtle* LumoGraphicList::GetTurtleGraphic(int32_t width, int32_t height, const sRGB& colour, bool shared,
                                              uint32_t extra) {
  return dynamic_cast<LumoTurtle*>(MakeGraphic(kSharedDrawable, width, height, colour, shared, extra,
                                               []() -> LumoGraphicNode* { return new (std::nothrow) LumoTurtle; }));
}

LumoTurtle* LumoGraphicList::GetBlankTurtleGraphic(int32_t width, int32_t height) {
  return GetTurtleGraphic(width, height, sRGB{}, false);
}

LumoGraphicNode* LumoGraphicList::GetBlankGraphic(int32_t width, int32_t height) {
  return GetGeneratedGraphic(width, height, sRGB{}, false);
}

// ---- Scratch graphics ----

LumoGraphicNode* LumoGraphicList::AcquireScratchGraphic(int32_t width, int32_t height) {
  LumoGraphicNode* chosen = nullptr;
  VisitItems([&](LumoNode* item) {
    if ((item->Flags & LumoGraphicNode::kScratchFlag) == 0) {
      return true;
    }
    auto* node = dynamic_cast<LumoGraphicNode*>(item);
    if (node != nullptr && (node->Flags & LumoGraphicNode::kInUseFlag) == 0 && node->Width >= width &&
        node->Height >= height) {
      chosen = node;
      return true;
    }
    return false;
  });
  if (chosen != nullptr) {
    chosen->Flags |= LumoGraphicNode::kInUseFlag;
    return chosen;
  }
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{});
  if (graphic == nullptr) {
    return nullptr;
  }
  auto* node = new (std::nothrow) LumoGraphicNode;
  if (node == nullptr) {
    DestroyGraphic(graphic);
    return nullptr;
  }
  node->SetData(reinterpret_cast<uintptr_t>(graphic));
  node->Flags |= LumoGraphicNode::kMadeFlag | LumoGraphicNode::kScratchFlag | LumoGraphicNode::kInUseFlag;
  if (first != nullptr ? InsertBefore(first, node) == nullptr : Append(node) == nullptr) {
    DestroyObject(node);
    return nullptr;
  }
  return node;
}

void LumoGraphicList::ReleaseScratchGraphic(LumoGraphicNode* node) {
  if (node == nullptr) {
    return;
  }
  if (node->Data == 0) {
    DestroyObject(node);
    return;
  }
  if (node->parent != nullptr) {
    node->parent->Remove(node);
  }
  node->SetName(nullptr);
  node->Flags = (node->Flags | LumoGraphicNode::kScratchFlag | LumoGraphicNode::kMadeFlag) &
                ~LumoGraphicNode::kInUseFlag;
  if (first != nullptr ? InsertBefore(first, node) == nullptr : Append(node) == nullptr) {
    DestroyObject(node);
  }
}

void LumoGraphicList::DeleteScratch() {
  while (first != nullptr && (first->Flags & LumoGraphicNode::kScratchFlag) != 0) {
    DestroyObject(first);
  }
}

int32_t LumoGraphicList::ScratchCount() const {
  int32_t count = 0;
  for (const LumoNode* item = first; item != nullptr && (item->Flags & LumoGraphicNode::kScratchFlag) != 0;
       item = item->next) {
    ++count;
  }
  return count;
}
