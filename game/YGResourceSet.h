#pragma once

#include <cstdint>

#include "base/LumoObject.h"

class LumoGraphicNode;
class YGGraphicResource;
class YGResourceList;
class YGResourceNode;
class YGSoundResource;
class YGThingResource;

// A level's look: its thing resources by name (Things), and the graphics and
// sounds those in use hold (Graphics, Sounds), counted by reference. The set
// owns the three lists. Originals are read from ".ygt" resource files, found
// in the current compound archive first and then in the shared folder.
//
// Stored sets and resource files are untrusted: objects of another class
// than expected are refused (logged, destroyed), and names that would leave
// the shared folder or overrun a path are refused before any file is named.
class YGResourceSet : public LumoObject {
 public:
  YGResourceSet();
  // A set deleted without DestroyObject still destroys its lists.
  ~YGResourceSet() override;

  const char* GetClassName() const override;
  // Takes only a YGResourceList (the stored Things).
  bool DoRegisterObject(LumoObject* object) override;
  bool DoUnregisterObject(LumoObject* object) override;
  // Destroys the three lists and with them the loaded resources.
  void DoFree() override;

  virtual bool LoadBytes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBytes(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadGraphics(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGraphics(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSounds(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSounds(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadThings(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThings(LumoStream* stream, const LumoProperty* property);

  // The resource of that name, referenced once more; null when absent.
  YGThingResource* GetResource(const char* name);
  // The same for a resource of the set, found by a walk.
  YGThingResource* GetResource(YGThingResource* resource);
  // One user less; a duplicate that lost its last user releases its
  // original as well.
  void ReleaseResource(YGThingResource* resource);
  // Destroys every node without users.
  void PurgeUnreferenced();
  // GetResource, else the resource file read into a (new) node whose count
  // stays 0. Null when neither gives a resource.
  YGThingResource* GetOrLoadResource(const char* name);

  YGResourceNode* FindNode(const char* name) const;
  YGResourceNode* FindNodeOf(const YGThingResource* resource) const;
  // The node itself for an original; for a duplicate the first original
  // whose name starts the duplicate's name (case-sensitive); null for none.
  YGResourceNode* FindOriginal(YGResourceNode* node) const;
  YGResourceNode* FindOriginalOf(const YGThingResource* resource) const;
  // Every duplicate takes its original's ColorMode, Type and Parts and, move
  // by move, its Repeats, Movement, MoveID and Sound; it keeps its own
  // sequences. False when a duplicate had no original or one of the two was
  // not loaded.
  bool UpdateCrops();
  // A copy of the resource as a new duplicate of its original, referenced
  // once; null when the resource or its original is not in the set.
  YGThingResource* DuplicateResource(YGThingResource* resource);

  // The thing resource of the file "<name>.ygt"; null (logged) when it is
  // missing, refused or holds another class.
  static YGThingResource* LoadResourceFile(const char* name);
  // Writes the resource's ".ygt" file and each of its frames' graphic-node
  // and image files (those not there yet) into the shared folder.
  bool SaveResource(YGThingResource* resource);

  // Whether a resource name may name a file in the shared folder ("extra"
  // more characters included); logs the refusal.
  static bool CheckResourceName(const char* name, uint32_t extra);

  int32_t Bytes = 0;
  YGGraphicResource* Graphics = nullptr;  // owned
  YGSoundResource* Sounds = nullptr;      // owned
  YGResourceList* Things = nullptr;       // owned

 private:
  // The estimate of the loading work: 2 x (Pixels + Samples) + every move's
  // Bytes.
  int64_t EstimateBytes() const;
  void DestroyLists();
  // Writes a graphic node's graphic-node file and image file, each only
  // when it is not there yet.
  void SaveGraphicFiles(const char* folder, LumoGraphicNode* graphic);
};
