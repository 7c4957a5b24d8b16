#pragma once

#include <cstdint>
#include <vector>

#include "base/LumoObject.h"
#include "runtime/Alpha.h"
#include "runtime/Graphics.h"

class LumoProperty;
class LumoStream;

// The pixels of one frame that take the player colour, as run lengths over
// the frame's pixels taken row by row: skip and mask runs alternate, starting
// with a skip run; a run above 255 is written as 255, 0 (an empty run of the
// other kind) as often as needed; a trailing skip run is left out; the data
// ends with two zero bytes. Stored as a signed 32-bit length and the bytes.
class YGColorMask : public LumoObject {
 public:
  // An empty mask (only the two terminating zero bytes): recolours nothing.
  YGColorMask();
  // Encodes the mask graphic.
  explicit YGColorMask(GraphicHandle mask);
  // The mask of a frame seen through an alpha map: a white copy of the frame
  // where it is not the engine's transparent colour, blended onto black
  // through the alpha map, then encoded. Both work graphics are freed.
  YGColorMask(int32_t width, int32_t height, GraphicHandle source, AlphaHandle alpha);

  const char* GetClassName() const override;
  void DoFree() override;

  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);

  // Replaces the data with the encoding of the graphic: a pixel is masked
  // when it is not black. False (data emptied) when the graphic cannot be
  // read.
  bool Encode(GraphicHandle mask);
  // Recolours the masked pixels of the graphic with shades of the colour:
  // (grey x red / 256, grey x green / 256, grey x blue / 256), grey being the
  // pixel's (red + green + blue) / 3. The walk ends at the two zero bytes, at
  // the end of the data, or at the graphic's last pixel, whichever comes
  // first, so no data read from a file reaches outside either.
  void Apply(const sRGB& colour, GraphicHandle graphic) const;

  // Whether the bytes form mask data: at least two bytes, the last two zero.
  static bool IsWellFormed(const uint8_t* bytes, size_t size);

  std::vector<uint8_t> Data;
};
