#include "game/YGResourceSet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoFileStream.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoStream.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/ResourceForms.h"
#include "game/YGGraphicResource.h"
#include "game/YGResourceList.h"
#include "game/YGResourceMove.h"
#include "game/YGResourceNode.h"
#include "game/YGSoundResource.h"
#include "game/YGThingResource.h"
#include "runtime/Compound.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"

namespace {

LumoClassOf<YGResourceSet> classOfYGResourceSet(kVersion_1_5_1_6, "YGResourceSet", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceSet, Bytes, PropertyPointer, "tPointer");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceSet, Graphics, PropertyObject, "tUnknown");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceSet, Sounds, PropertyObject, "tUnknown");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGResourceSet, Things, PropertyPointer, "tPointer");

constexpr const char* kResourceExtension = ".ygt";
constexpr int32_t kGraphicNodeKind = 16;
constexpr int32_t kImageKind = 6;
// The longest decimal Duplicate number and the extension that a resource
// file name may add to the resource name.
constexpr uint32_t kFileNameSuffix = 11 + 4;

using FileStreamPointer = std::unique_ptr<LumoFileStream, tObjectDestroyer>;
using MemoryStreamPointer = std::unique_ptr<LumoMemoryStream, tObjectDestroyer>;

std::string SharedFolder() {
  char folder[kMaxPathSize] = "";
  return GetFolderName(FolderShared, folder) ? std::string(folder) : std::string();
}

// The name in the shared folder; "" when it would not fit a path.
std::string SharedPath(const std::string& fileName) {
  char path[kMaxPathSize] = "";
  return AppendToPath(SharedFolder().c_str(), fileName.c_str(), path) ? std::string(path) : std::string();
}

// Loads a stored list field into the set's list of that class. A stored
// object of another class (the registry makes whatever the stream names) is
// refused and destroyed.
template <typename List>
bool LoadListField(YGResourceSet& set, LumoStream* stream, const LumoProperty* property, List*& field,
                   const char* fieldName) {
  LumoObject* loaded = nullptr;
  if (!set.LoadPropertyFrom(stream, property, &loaded)) {
    return false;
  }
  if (loaded == nullptr) {
    return true;  // nothing stored: the empty list stays
  }
  auto* list = dynamic_cast<List*>(loaded);
  if (list == nullptr) {
    DebugPrint("(RES) YGResourceSet %s is a %s, refused\n", fieldName, DebugClassName(loaded));
    DestroyObject(loaded);
    return false;
  }
  DestroyObject(field);
  field = list;
  return true;
}

// Writes a record built in memory to a new loose file through a temporary
// file, so a failed write leaves no half file under the name.
bool WriteWholeFile(const std::string& path, const uint8_t* bytes, uint32_t size) {
  const std::string temporaryName = path + ".tmp";
  FileHandle file = OpenFile(temporaryName.c_str(), FileModeWrite, OpenModeCreate, ShareModeExclusive);
  if (file == nullptr) {
    return false;
  }
  const bool written = WriteFileExactly(file, bytes, size);
  if (!CloseFile(file) || !written || !ReplaceFileWith(temporaryName.c_str(), path.c_str())) {
    RemoveFile(temporaryName.c_str());
    return false;
  }
  return true;
}

MemoryStreamPointer NewRecordStream() {
  MemoryStreamPointer record(new (std::nothrow) LumoMemoryStream());
  if (!record || !record->OpenNew(4096, 1, 0) || record->SetGrowth(64u * 1024u) == 0) {
    return nullptr;
  }
  return record;
}

// Calls visit(graphic node) for the graphic of every frame of every stored
// sequence of the resource, move by move; frames without one go to
// missing(sequence, colour, move).
template <typename Visit, typename Missing>
void VisitFrameGraphics(YGThingResource& resource, Visit&& visit, Missing&& missing) {
  for (int32_t moveIndex = 0; moveIndex < resource.count; ++moveIndex) {
    YGResourceMove* move = resource.GetMove(moveIndex);
    if (move == nullptr) {
      continue;
    }
    for (int32_t sequence = 0; sequence < move->Sequences; ++sequence) {
      for (int32_t colour = 0; colour < move->Colors; ++colour) {
        LumoSequenceList* list = move->GetStoredSequence(sequence, colour);
        if (list == nullptr) {
          continue;
        }
        list->VisitItems([&](LumoNode* item) {
          auto* frame = dynamic_cast<LumoSequenceNode*>(item);
          if (frame == nullptr) {
            return false;
          }
          if (frame->Graphic() != nullptr) {
            visit(frame->Graphic());
          } else {
            missing(sequence, colour, moveIndex);
          }
          return false;
        });
      }
    }
  }
}

LumoSequenceList* CopySequenceList(LumoSequenceList* source) {
  auto* copy = new LumoSequenceList;
  copy->SetRepeats(source->Repeats);
  copy->SetFramesPerPulse(source->FramesPerPulse);
  source->VisitItems([&](LumoNode* item) {
    auto* frame = dynamic_cast<LumoSequenceNode*>(item);
    if (frame == nullptr) {
      return false;
    }
    auto* made = dynamic_cast<LumoSequenceNode*>(copy->CreateItem());
    if (made == nullptr) {
      return false;
    }
    made->SetGraphic(frame->Graphic());
    made->SetOffset(frame->Left, frame->Top);
    made->SetDuration(frame->Duration);
    copy->Append(made);
    return false;
  });
  return copy;
}

}  // namespace

YGResourceSet::YGResourceSet()
    : Graphics(new YGGraphicResource), Sounds(new YGSoundResource), Things(new YGResourceList) {
  Things->Owner = this;
}

YGResourceSet::~YGResourceSet() { DestroyLists(); }

const char* YGResourceSet::GetClassName() const { return "YGResourceSet"; }

void YGResourceSet::DestroyLists() {
  // Things go first: their resources refer to nothing in the other two.
  DestroyObject(Things);
  Things = nullptr;
  DestroyObject(Sounds);
  Sounds = nullptr;
  DestroyObject(Graphics);
  Graphics = nullptr;
}

bool YGResourceSet::DoRegisterObject(LumoObject* object) {
  if (dynamic_cast<YGResourceList*>(object) == nullptr) {
    DebugPrint("(RES) YGResourceSet Things is a %s, refused\n", DebugClassName(object));
    return false;
  }
  return true;
}

bool YGResourceSet::DoUnregisterObject(LumoObject* object) { return dynamic_cast<YGResourceList*>(object) != nullptr; }

void YGResourceSet::DoFree() {
  DestroyLists();
  LumoObject::DoFree();
}

// ---- Stored form ----

int64_t YGResourceSet::EstimateBytes() const {
  int64_t total = 2 * (static_cast<int64_t>(Graphics != nullptr ? Graphics->Pixels : 0) +
                       (Sounds != nullptr ? Sounds->Samples : 0));
  if (Things != nullptr) {
    Things->VisitItems([&](LumoNode* item) {
      auto* node = dynamic_cast<YGResourceNode*>(item);
      YGThingResource* resource = node != nullptr ? node->Resource() : nullptr;
      for (int32_t index = 0; resource != nullptr && index < resource->count; ++index) {
        if (YGResourceMove* move = resource->GetMove(index)) {
          total += move->Bytes;
        }
      }
      return false;
    });
  }
  return total;
}

bool YGResourceSet::LoadBytes(LumoStream* stream, const LumoProperty*) {
  if (stream == nullptr || !stream->ReadInteger(Bytes)) {
    return false;
  }
  RaiseLoaderGaugeMaximum(std::max(Bytes, 0));
  return true;
}

bool YGResourceSet::SaveBytes(LumoStream* stream, const LumoProperty*) {
  Bytes = static_cast<int32_t>(std::clamp<int64_t>(EstimateBytes(), 0, std::numeric_limits<int32_t>::max()));
  return stream != nullptr && stream->WriteInteger(Bytes);
}

bool YGResourceSet::LoadGraphics(LumoStream* stream, const LumoProperty* property) {
  return LoadListField(*this, stream, property, Graphics, "Graphics");
}

bool YGResourceSet::SaveGraphics(LumoStream* stream, const LumoProperty* property) {
  LumoObject* list = Graphics;
  return SavePropertyTo(stream, property, &list);
}

bool YGResourceSet::LoadSounds(LumoStream* stream, const LumoProperty* property) {
  return LoadListField(*this, stream, property, Sounds, "Sounds");
}

bool YGResourceSet::SaveSounds(LumoStream* stream, const LumoProperty* property) {
  LumoObject* list = Sounds;
  return SavePropertyTo(stream, property, &list);
}

bool YGResourceSet::LoadThings(LumoStream* stream, const LumoProperty*) {
  // The set refuses (and the loader destroys) anything but a YGResourceList.
  LumoObject* loaded = LoadObject(stream, this);
  auto* list = dynamic_cast<YGResourceList*>(loaded);
  if (list == nullptr) {
    DebugPrint("(RES) YGResourceSet couldn't load its Things\n");
    return false;
  }
  DestroyObject(Things);
  Things = list;
  Things->Owner = this;
  return true;
}

bool YGResourceSet::SaveThings(LumoStream* stream, const LumoProperty*) {
  return Things != nullptr && Things->SaveObject(stream, 0);
}

// ---- Look-ups ----

YGResourceNode* YGResourceSet::FindNode(const char* name) const {
  if (Things == nullptr || name == nullptr) {
    return nullptr;
  }
  return dynamic_cast<YGResourceNode*>(Things->FindByName(name));
}

YGResourceNode* YGResourceSet::FindNodeOf(const YGThingResource* resource) const {
  YGResourceNode* found = nullptr;
  if (Things == nullptr || resource == nullptr) {
    return nullptr;
  }
  Things->VisitItems([&](LumoNode* item) {
    auto* node = dynamic_cast<YGResourceNode*>(item);
    if (node != nullptr && node->Resource() == resource) {
      found = node;
      return true;
    }
    return false;
  });
  return found;
}

YGResourceNode* YGResourceSet::FindOriginal(YGResourceNode* node) const {
  if (node == nullptr || node->Duplicate <= 0) {
    return node;
  }
  if (Things == nullptr || node->Name == nullptr) {
    return nullptr;
  }
  YGResourceNode* found = nullptr;
  Things->VisitItems([&](LumoNode* item) {
    auto* candidate = dynamic_cast<YGResourceNode*>(item);
    if (candidate != nullptr && candidate->Duplicate <= 0 && candidate->Name != nullptr &&
        std::strncmp(candidate->Name, node->Name, std::strlen(candidate->Name)) == 0) {
      found = candidate;
      return true;
    }
    return false;
  });
  return found;
}

YGResourceNode* YGResourceSet::FindOriginalOf(const YGThingResource* resource) const {
  YGResourceNode* node = FindNodeOf(resource);
  return node != nullptr ? FindOriginal(node) : nullptr;
}

// ---- References ----

YGThingResource* YGResourceSet::GetResource(const char* name) {
  try {
    YGResourceNode* node = FindNode(name);
    if (node == nullptr) {
      return nullptr;
    }
    node->AddReference();
    return node->Resource();
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceSet::GetResource(%s)\n", DebugText(name));
    throw;
  }
}

YGThingResource* YGResourceSet::GetResource(YGThingResource* resource) {
  try {
    YGResourceNode* node = FindNodeOf(resource);
    if (node == nullptr) {
      return nullptr;
    }
    node->AddReference();
    return node->Resource();
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceSet::GetResource(%p)\n",
               static_cast<const void*>(resource));
    throw;
  }
}

void YGResourceSet::ReleaseResource(YGThingResource* resource) {
  YGResourceNode* node = FindNodeOf(resource);
  if (node == nullptr || !node->RemoveReference()) {
    return;
  }
  while (node->Duplicate >= 1) {
    YGResourceNode* original = FindOriginal(node);
    if (original == nullptr || original == node || !original->RemoveReference()) {
      return;
    }
    node = original;
  }
}

void YGResourceSet::PurgeUnreferenced() {
  if (Things == nullptr) {
    return;
  }
  Things->VisitItemsBackwards([&](LumoNode* item) {
    if (item->ID == 0) {
      DestroyObject(item);
    }
    return false;
  });
}

YGThingResource* YGResourceSet::GetOrLoadResource(const char* name) {
  YGThingResource* resource = GetResource(name);
  if (resource != nullptr || Things == nullptr) {
    return resource;
  }
  resource = LoadResourceFile(name);
  if (resource == nullptr) {
    return nullptr;
  }
  auto* node = dynamic_cast<YGResourceNode*>(Things->FindOrCreate(name));
  if (node == nullptr) {
    DestroyObject(resource);
    return nullptr;
  }
  node->SetResource(resource);
  return resource;
}

// ---- Duplicates ----

bool YGResourceSet::UpdateCrops() {
  bool complete = true;
  if (Things == nullptr) {
    return true;
  }
  Things->VisitItems([&](LumoNode* item) {
    auto* node = dynamic_cast<YGResourceNode*>(item);
    if (node == nullptr) {
      return false;
    }
    YGResourceNode* original = FindOriginal(node);
    if (original == nullptr) {
      DebugPrint("(RES)YGResourceSet::UpdateCrops() Resource %s had no original\n", DebugText(node->Name));
      complete = false;
      return false;
    }
    if (original == node) {
      return false;
    }
    YGThingResource* copy = node->Resource();
    YGThingResource* source = original->Resource();
    if (copy == nullptr || source == nullptr) {
      DebugPrint("(RES)YGResourceSet::UpdateCrops() Resource %s or its original was not loaded\n",
                 DebugText(node->Name));
      complete = false;
      return false;
    }
    copy->ColorMode = source->ColorMode;
    copy->Type = source->Type;
    copy->Parts = source->Parts;
    const int32_t moves = std::min(copy->count, source->count);
    for (int32_t index = 0; index < moves; ++index) {
      YGResourceMove* target = copy->GetMove(index);
      YGResourceMove* from = source->GetMove(index);
      if (target == nullptr || from == nullptr) {
        continue;
      }
      DebugPrint("Repeats of %s move %d from %d to %d\n", DebugText(node->Name), index, target->Repeats,
                 from->Repeats);
      target->Repeats = from->Repeats;
      target->Movement = from->Movement;
      target->MoveID = from->MoveID;
      target->SetSound(from->Sound);
    }
    return false;
  });
  return complete;
}

YGThingResource* YGResourceSet::DuplicateResource(YGThingResource* resource) {
  YGResourceNode* node = FindNodeOf(resource);
  YGResourceNode* original = node != nullptr ? FindOriginal(node) : nullptr;
  YGThingResource* source = original != nullptr ? original->Resource() : nullptr;
  if (source == nullptr || Things == nullptr) {
    return nullptr;
  }
  const int32_t number = original->Duplicate;
  const std::string newName = std::string(DebugText(original->Name)) + std::to_string(-static_cast<int64_t>(number));
  if (!CheckResourceName(newName.c_str(), kFileNameSuffix)) {
    return nullptr;
  }
  std::unique_ptr<YGThingResource, tObjectDestroyer> copy(new YGThingResource(source->Name, source->Type));
  for (int32_t index = 0; index < source->count; ++index) {
    YGResourceMove* move = source->GetMove(index);
    if (move == nullptr) {
      continue;
    }
    auto* made = new YGResourceMove(move->MoveID, move->Sequences, move->Colors, move->Repeats, move->Movement);
    made->SetSound(move->Sound);
    if (!copy->AddMove(made)) {
      DestroyObject(made);
      continue;
    }
    for (int32_t sequence = 0; sequence < move->Sequences; ++sequence) {
      for (int32_t colour = 0; colour < move->Colors; ++colour) {
        LumoSequenceList* list = move->GetStoredSequence(sequence, colour);
        if (list == nullptr) {
          continue;
        }
        LumoSequenceList* listCopy = CopySequenceList(list);
        if (!copy->SetSequence(move->MoveID, sequence, colour, listCopy)) {
          DestroyObject(listCopy);
        }
      }
    }
  }
  auto* made = dynamic_cast<YGResourceNode*>(Things->FindOrCreate(newName.c_str()));
  if (made == nullptr) {
    return nullptr;
  }
  YGThingResource* result = copy.release();
  made->SetResource(result);
  original->Duplicate = number - 1;
  made->Duplicate = 1 - number;
  DebugPrint("Duplicated %s(%d) to %s(%d)\n", DebugText(original->Name), original->Duplicate, newName.c_str(),
             made->Duplicate);
  made->AddReference();
  return result;
}

// ---- Resource files ----

bool YGResourceSet::CheckResourceName(const char* name, uint32_t extra) {
  if (name == nullptr || name[0] == '\0') {
    DebugPrint("(RES) A resource without a name names no file\n");
    return false;
  }
  // A resource name becomes a file name in the shared folder: a separator, a
  // drive or a parent step would read or write outside it.
  if (std::strpbrk(name, "\\/:") != nullptr || std::strstr(name, "..") != nullptr) {
    DebugPrint("(RES) Resource name %s is refused: it leaves the shared folder\n", name);
    return false;
  }
  if (SharedFolder().size() + std::strlen(name) + extra >= kMaxPathSize) {
    DebugPrint("(RES) Resource name %s is refused: its path is longer than %u characters\n", name,
               kMaxPathSize);
    return false;
  }
  return true;
}

YGThingResource* YGResourceSet::LoadResourceFile(const char* name) {
  if (!CheckResourceName(name, kFileNameSuffix)) {
    return nullptr;
  }
  const std::string fileName = std::string(name) + kResourceExtension;
  FileStreamPointer stream(new (std::nothrow) LumoFileStream());
  if (!stream) {
    return nullptr;
  }
  CompoundHandle compound = GetCompound();
  uint32_t offset = 0;
  uint32_t size = 0;
  bool open = compound != nullptr && LookupCompound(compound, fileName.c_str(), offset, size) != nullptr &&
              stream->OpenCompoundEntry(compound) == compound;
  const std::string path = SharedPath(fileName);
  if (!open) {
    open = !path.empty() && stream->Open(path.c_str(), FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0);
  }
  if (!open) {
    char compoundName[kMaxPathSize] = "";
    if (compound == nullptr || !GetCompoundName(compound, compoundName)) {
      std::snprintf(compoundName, sizeof compoundName, "(none)");
    }
    DebugPrint("(RES)Couldn't find Resource file %s in compound %s or file %s\n", fileName.c_str(), compoundName,
               path.c_str());
    return nullptr;
  }
  LumoObject* object = LoadObject(stream.get(), nullptr);
  stream->Close();
  auto* resource = dynamic_cast<YGThingResource*>(object);
  if (object != nullptr && resource == nullptr) {
    DebugPrint("(RES) Resource file %s holds a %s, not a YGThingResource\n", fileName.c_str(),
               DebugClassName(object));
    DestroyObject(object);
  }
  return resource;
}

void YGResourceSet::SaveGraphicFiles(const char* folder, LumoGraphicNode* graphic) {
  if (graphic->Name == nullptr || !CheckResourceName(graphic->Name, 4)) {
    return;
  }
  char joined[kMaxPathSize] = "";
  char nodeFile[kMaxPathSize] = "";
  if (!AppendToPath(folder, graphic->Name, joined) || !ValidateFileName(kGraphicNodeKind, false, joined, nodeFile)) {
    DebugPrint("(RES) Couldn't open graphic file %s for creating\n", graphic->Name);
  } else if (CheckFile(nodeFile)) {
    DebugPrint("(RES) GraphicNode %s already exists\n", nodeFile);
  } else {
    MemoryStreamPointer record = NewRecordStream();
    if (!record) {
      DebugPrint("(RES) Couldn't open graphic file %s for creating\n", nodeFile);
    } else if (!graphic->SaveObject(record.get(), 0) ||
               !WriteWholeFile(nodeFile, record->buffer, record->position)) {
      DebugPrint("(RES) Couldn't save graphic to file %s\n", nodeFile);
    }
  }
  char imageFile[kMaxPathSize] = "";
  if (!ValidateFileName(kImageKind, false, joined, imageFile)) {
    return;
  }
  if (CheckFile(imageFile)) {
    DebugPrint("(RES) Graphic %s already exists\n", imageFile);
  } else if (graphic->Graphic() == nullptr || !SaveGraphic(graphic->Graphic(), imageFile)) {
    DebugPrint("(RES) Couldn't save graphic to file %s\n", imageFile);
  }
}

bool YGResourceSet::SaveResource(YGThingResource* resource) {
  try {
    if (resource == nullptr) {
      DebugPrint("(RES) SaveResource(NULL) will do you no good\n");
      return false;
    }
    YGResourceNode* node = FindNodeOf(resource);
    if (node == nullptr) {
      DebugPrint("(RES) Resource %s was not added to this set\n", DebugText(resource->Name));
      return false;
    }
    if (!CheckResourceName(node->Name, kFileNameSuffix)) {
      return false;
    }
    std::string fileName = node->Name;
    if (node->Duplicate > 0) {
      fileName += std::to_string(node->Duplicate);
    }
    fileName += kResourceExtension;
    const std::string folder = SharedFolder();
    const std::string path = SharedPath(fileName);
    MemoryStreamPointer record = NewRecordStream();
    if (path.empty() || !record) {
      DebugPrint("(RES) Couldn't open thing file %s for creating\n", fileName.c_str());
      return false;
    }
    if (!resource->SaveObject(record.get(), 0)) {
      DebugPrint("(RES) Couldn't save thing %p to file %s\n", static_cast<const void*>(resource), path.c_str());
      return false;
    }
    if (!WriteWholeFile(path, record->buffer, record->position)) {
      DebugPrint("(RES) Couldn't open thing file %s for creating\n", path.c_str());
      return false;
    }
    VisitFrameGraphics(
        *resource, [&](LumoGraphicNode* graphic) { SaveGraphicFiles(folder.c_str(), graphic); },
        [&](int32_t sequence, int32_t colour, int32_t move) {
          DebugPrint("(RES) Sequencenode of sequence %d color %d move %d had no graphic.\n", sequence, colour,
                     move);
        });
    return true;
  } catch (...) {
    DebugPrint("(RES) Unhandled exception during YGResourceSet::SaveResource(%p)\n",
               static_cast<const void*>(resource));
    throw;
  }
}
