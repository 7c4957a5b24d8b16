#pragma once

#include <cstdint>

#include "base/LumoNode.h"
#include "runtime/Alpha.h"
#include "runtime/Blit.h"
#include "runtime/Graphics.h"
#include "runtime/Viewports.h"

class LumoGraphicList;
class tImage;

// One picture of the framework: a named node that owns a run-time graphic
// (its Data) and optionally its alpha map, with the placement and colour
// keys used to draw it. Frames show graphic nodes, fonts are made of them,
// and levels and the engine keep them in graphic lists.
class LumoGraphicNode : public LumoNode {
 public:
  // Node flags of graphic nodes.
  static constexpr uint32_t kMadeFlag = 1;      // a graphic the list made
  static constexpr uint32_t kScratchFlag = 2;   // a scratch graphic of its list
  static constexpr uint32_t kInUseFlag = 4;     // a scratch graphic handed out
  static constexpr uint32_t kEmbeddedFlag = 8;  // the picture is saved with the node

  LumoGraphicNode();
  ~LumoGraphicNode() override;

  const char* GetClassName() const override;
  // Copies the node's name, flags, tag and ID, and from another graphic node
  // its placement, keys, colours and blending (its size too while this node
  // holds no graphic), never its graphic: the node keeps its own. The alpha
  // map is loaded again by name when the source blends with one, and the
  // own graphic is selected or unselected as the source's is.
  bool DoAssign(LumoObject* other) override;
  // Destroys the alpha map, then frees the node (which unloads the graphic).
  void DoFree() override;
  void DebugDumpFields() override;
  // Releases a lock, takes the new graphic's size and stores it.
  uintptr_t SetData(uintptr_t value) override;
  // Releases a lock, destroys the graphic and the alpha map.
  void Unload() override;
  // Loads the graphic named by the node's name, and its alpha map when the
  // node blends with one (whose size then counts).
  uintptr_t Load() override;
  // Makes the graphic when there is none: Width x Height in the fill colour.
  uintptr_t Restore() override;
  // In a list that saves in its work format, the key colours are saved at
  // that format's precision; the node keeps its own colours.
  bool DoSaveTo(LumoStream* stream) override;
  // A node holding a graphic ends its load with the graphic's size.
  bool DoLoadFrom(LumoStream* stream) override;

  // Per-field load and save operations of the stored fields.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeft(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTop(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSourceMode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSourceMode(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSourceMinimum(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSourceMinimum(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSourceMaximum(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSourceMaximum(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDestMode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDestMode(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDestMinimum(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDestMinimum(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDestMaximum(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDestMaximum(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWidth(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWidth(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHeight(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHeight(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFillColor(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFillColor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPenColor(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePenColor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAlphaBlending(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAlphaBlending(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAlphaInfo(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAlphaInfo(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAlphaFactor(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAlphaFactor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStretch(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStretch(LumoStream* stream, const LumoProperty* property);
  // Runs inside CreateLock before the graphic is locked; empty.
  virtual void DoCreateLock();
  // Takes the image's pixels as the graphic and its alpha plane, when it has
  // one, as the alpha map.
  virtual bool FromImage(tImage& image);
  // The graphic (and the alpha map the node blends with) into the image, in
  // the graphic's own format.
  virtual bool ToImage(tImage& image);
  // Whether the picture itself is saved with the node (only into a file
  // stream).
  virtual void SetEmbedded(bool flag);
  virtual void SetOrigin(int32_t left, int32_t top);
  // Only while there is no graphic.
  virtual void SetCanvasSize(int32_t width, int32_t height);
  virtual void SetStretch(bool flag);
  virtual void ClearSourceKey();
  // The source key becomes the engine's transparent key colour.
  virtual void SetTransparent();
  virtual void SetSourceKey(const sRGB& colour);
  virtual void SetSourceKeyRange(const sRGB& low, const sRGB& high);
  virtual void ClearDestKey();
  virtual void SetDestKey(const sRGB& colour);
  virtual void SetDestKeyRange(const sRGB& low, const sRGB& high);
  virtual void SetFillColour(const sRGB& colour);
  // Takes an alpha map (owned); blending with it exactly when there is one.
  virtual void SetAlpha(AlphaHandle alpha);

  // ---- Graphic life ----

  GraphicHandle Graphic() const { return reinterpret_cast<GraphicHandle>(Data); }
  // Hands the node back to its graphic list as a scratch graphic.
  void Release();
  // Selects the graphic for the display's transfers while it is shown (a
  // running cell's frames), once: nothing when it is selected already. The
  // handle is kept in Selection; the run-time system gives none while page
  // locking is not in force.
  void Select();
  // Unselects a selected graphic and forgets the handle.
  void Unselect();
  // Loads the alpha map named by the node's name when none is held.
  void LoadAlphaInformation();
  void DisableAlpha();
  // Blends the whole graphic with one constant alpha (0-255).
  void SetAlphaFactor(uint8_t factor);
  // The graphic list holding the node, or null.
  LumoGraphicList* List() const;

  // ---- Pixels and drawing (with the pen colour, on a lock) ----

  // Releases an older lock; null without a graphic. The pen colour becomes 0.
  LockedGraphic* CreateLock();
  void ReleaseLock();
  uint32_t GetPixel(int32_t x, int32_t y);
  void SetPixel(int32_t x, int32_t y, uint32_t value);
  // The four sides from the pixel cursor: right, down, left, up.
  void DrawBox(int32_t width, int32_t height);
  void FillBox(int32_t width, int32_t height);
  void Fill(const sRGB& colour);
  // An ellipse around the pixel cursor, which stays on the centre: the
  // outline, or filled. Points outside the graphic are skipped.
  void DrawEllipse(int32_t radiusX, int32_t radiusY);
  void FillEllipse(int32_t radiusX, int32_t radiusY);
  // Fills the area connected to (x, y) and bounded by the pen colour with a
  // colour; nothing outside the graphic or at a pixel of the pen or the fill
  // colour. Works with a stack of its own, so any area fits.
  void FloodFill(int32_t x, int32_t y, uint32_t colour);
  // Whether (x, y) lies in the locked graphic (and inside Width x Height).
  bool Inside(int32_t x, int32_t y) const;

  // ---- Copying ----

  // The source's whole graphic into this one at (left, top).
  bool Copy(LumoGraphicNode* source, int32_t left, int32_t top);
  bool CopyPart(LumoGraphicNode* source, int32_t sourceLeft, int32_t sourceTop, int32_t destLeft, int32_t destTop,
                int32_t width, int32_t height);
  bool CopyViewport(ViewportHandle viewport, int32_t left, int32_t top);
  // In the rectangle (cut to the graphic): the first colour becomes the
  // second, else the third the fourth (the run-time's operation).
  void ReplaceInkAndPaper(int32_t left, int32_t top, int32_t width, int32_t height, const sRGB& oldInk,
                          const sRGB& newInk, const sRGB& oldPaper, const sRGB& newPaper);
  // In the rectangle: the first colour becomes the second, every other the third.
  void ReplacePaper(int32_t left, int32_t top, int32_t width, int32_t height, const sRGB& key, const sRGB& keyValue,
                    const sRGB& otherValue);

  // ---- Printing and saving ----

  bool Print();
  // The whole graphic to a picture file.
  bool Save(const char* fileName);
  // A part of it, to the file named by the node (SavePartAs renames first).
  bool SavePart(int32_t left, int32_t top, int32_t width, int32_t height);
  bool SavePartAs(const char* fileName, int32_t left, int32_t top, int32_t width, int32_t height);

  // Draws the node into a viewport at (x, y) plus its origin: stretched,
  // keyed or blended as its fields say.
  void RenderTo(ViewportHandle viewport, int32_t x, int32_t y);
  // The blit record: the origin plus (x, y), and the source key.
  tBlitData BlitData(int32_t x, int32_t y) const;

  // ---- Fields ----

  bool AlphaBlending = false;
  bool AlphaInfo = false;
  int32_t Left = 0;
  int32_t Top = 0;
  tKeyData SourceKey;  // SourceMode, SourceMinimum, SourceMaximum
  tKeyData DestKey;    // DestMode, DestMinimum, DestMaximum
  int32_t Width = 0;
  int32_t Height = 0;
  sRGB FillColor;
  uint8_t FillColorPadding = 0;
  uint32_t PenColor = 0;
  // Stored with the type name "tBool" but holding 0-255, so it is read and
  // written as a byte.
  uint8_t AlphaFactor = 0;
  bool Stretch = false;
  LockedGraphic* Lock = nullptr;
  int32_t LockedWidth = 0;  // the locked graphic's real size
  int32_t LockedHeight = 0;
  AlphaHandle Alpha = nullptr;
  GraphicHandle Selection = nullptr;  // while the graphic is selected

 private:
  void DestroyAlphaMap();
  // The embedded picture: written at, or read from, the file stream's
  // position.
  bool SaveEmbedded(LumoStream* stream);
  bool LoadEmbedded(LumoStream* stream);
  // Blends the clipped block of the graphic at (sourceX, sourceY) into the
  // locked destination at its pixel cursor.
  void BlendInto(LockedGraphic* destination, LockedGraphic* source, int32_t width, int32_t height);
  void ReportCopyFailure(const char* operation, const LumoGraphicNode* source) const;
  // Cuts the rectangle to the graphic, locks it with the cursor at the cut
  // corner and runs replace(lock, width, height); nothing when empty.
  template <typename Replace>
  void ReplaceIn(int32_t left, int32_t top, int32_t width, int32_t height, Replace&& replace);
  // Walks the ellipse's steps: visit(x, scaled y) for each of the eight
  // symmetric offsets' quarter, as (dx, dy) pairs around the centre.
  template <typename Visit>
  void WalkEllipse(int32_t radiusX, int32_t radiusY, Visit&& visit);
};
