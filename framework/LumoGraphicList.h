#pragma once

#include <cstdint>

#include "base/LumoSortedList.h"
#include "base/tImage.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoTurtle.h"

// Graphic nodes by name: every level has one for its own graphics and the
// engine one for the engine-wide graphics. Besides the named graphics it
// keeps made graphics: shared fills keyed by size and colour, so equal
// requests share one graphic, and a pool of scratch graphics that are handed
// out and given back. Scratch nodes always stand before the named nodes.
class LumoGraphicList : public LumoSortedList {
 public:
  // List flags (beside the sorted list's indexing flag, 2).
  static constexpr uint32_t kAllowStoredFlag = 4;       // names may be stored graphic nodes
  static constexpr uint32_t kSaveInWorkFormatFlag = 8;  // nodes save in the work format

  // Kinds of the keys of made graphics.
  static constexpr char kSharedFill = '=';
  static constexpr char kSharedDrawable = '$';

  LumoGraphicList();

  const char* GetClassName() const override;
  // A graphic node.
  LumoNode* CreateItem() override;

  virtual bool SetAllowStored(bool flag);
  virtual bool SetSaveInWorkFormat(bool flag);
  // The work format becomes the image's pixel format (normally the
  // display's); false when the image has none the list can take.
  virtual bool SetWorkFormat(const tImage* image);
  // Whether the nodes save in the work format.
  bool SavesInWorkFormat() const { return (Flags & kSaveInWorkFormatFlag) != 0; }

  // The node of that name (made when missing) placed at (left, top); with
  // alpha its alpha map is loaded, otherwise its graphic when it has none.
  LumoGraphicNode* FindGraphic(const char* name, int32_t left = 0, int32_t top = 0, bool alpha = false);
  // The node of that name (made when missing) placed, without loading.
  LumoGraphicNode* ProvideGraphicAt(const char* name, int32_t left, int32_t top);
  // Null for no name; the node of that name when there is one; else, with
  // AllowStored, the stored graphic node of that name; else a new node,
  // loaded.
  LumoGraphicNode* ProvideGraphic(const char* name);
  // The shared made graphic of that kind, size and colour, or null.
  LumoGraphicNode* FindGeneratedGraphic(char kind, int32_t width, int32_t height, const sRGB& colour,
                                        uint32_t extra = 0);
  // A graphic of that size filled with the colour: shared ones are found by
  // their key or made once; unshared ones are new every time and belong to
  // the caller (they still live in the list until freed).
  LumoGraphicNode* GetGeneratedGraphic(int32_t width, int32_t height, const sRGB& colour, bool shared,
                                       uint32_t extra = 0);
  LumoGraphicNode* GetBlankGraphic(int32_t width, int32_t height);
  // The same with drawable graphics (turtles), keyed apart from the fills.
  LumoTurtle* GetTurtleGraphic(int32_t width, int32_t height, const sRGB& colour, bool shared, uint32_t extra = 0);
  LumoTurtle* GetBlankTurtleGraphic(int32_t width, int32_t height);
  // A scratch graphic of at least that size, marked in use: the first free
  // one big enough, else a new one of exactly that size.
  LumoGraphicNode* AcquireScratchGraphic(int32_t width, int32_t height);
  // Takes a node back as a free scratch graphic (a node without a graphic is
  // destroyed).
  void ReleaseScratchGraphic(LumoGraphicNode* node);
  // Destroys the scratch graphics.
  void DeleteScratch();
  // The number of scratch graphics, in use or not.
  int32_t ScratchCount() const;

  // The made graphic: found by its key when shared, else a new node of the
  // kind made by make(), filled, named by its key when shared, appended.
  template <typename Make>
  LumoGraphicNode* MakeGraphic(char kind, int32_t width, int32_t height, const sRGB& colour, bool shared,
                               uint32_t extra, Make&& make);

  // The key of a made graphic: kind, width, height, red, green, blue, extra.
  static void MakeKey(char kind, int32_t width, int32_t height, const sRGB& colour, uint32_t extra,
                      char (&key)[32]);

  // A 1 x 1 image holding the work format: 16 bits, 5-6-5 until set.
  tImage WorkImage;
};
