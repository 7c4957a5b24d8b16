#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoExport.h"
#include "runtime/Graphics.h"

// Alpha maps: one opacity byte (0-255) per pixel of an image, rows from the
// top, no padding, for the alpha-map and mask blends. They are made from
// caller buffers, from the red channel of a grey image file, or read from an
// alpha file (".lma", see runtime/AlphaFile.h), and can be turned into a grey
// graphic.

// An alpha map, passed as an untyped handle like a graphic.
using AlphaHandle = void*;

// The opacity bytes of an alpha map: rows from top to bottom, no padding.
struct tAlphaBytes {
  const uint8_t* Data = nullptr;
  uint32_t Size = 0;  // bytes at Data
};

// Source pixel layouts of CreateAlpha.
enum tAlphaKind : int32_t {
  AlphaKindBytes = 0,        // 1 byte per pixel (any kind not listed below)
  AlphaKindFourthOfFour = 1, // 4 bytes per pixel, alpha in the fourth byte
  AlphaKindFirstOfThree = 2, // 3 bytes per pixel, alpha in the first byte
  AlphaKindFirstOfFour = 3,  // 4 bytes per pixel, alpha in the first byte
};

// Row orders of CreateAlpha's source.
constexpr int32_t kAlphaOriginBottomUp = 0;  // the source's last row is the top row
constexpr int32_t kAlphaOriginTopDown = 2;   // the source's first row is the top row

// ---- Alpha maps ----

// A new map of width x height bytes taken from the source (pitch: bytes from
// one source row to the next); null for a null source (no message), a size
// below 1 pixel, an origin other than 0 or 2, or a lack of memory.
LUMOGAME_API AlphaHandle CreateAlpha(int32_t width, int32_t height, const uint8_t* source, int32_t pitch,
                                     int32_t kind, int32_t origin);
// Frees the map with its buffers; null is ignored, an unknown handle refused.
LUMOGAME_API void DestroyAlpha(AlphaHandle alpha);
// Gives 0, 0 for a null or unknown map.
LUMOGAME_API void GetAlphaSize(AlphaHandle alpha, int32_t& width, int32_t& height);
// Copies the map's width x height bytes into the buffer, which must hold
// that many; false for a null map or buffer or a map without data.
LUMOGAME_API bool ExtractAlpha(AlphaHandle alpha, uint8_t* buffer);
// Loads the image file name + "BW" (with LoadGraphic's folder and extension
// rules) and makes a map of its size from the red channel of each pixel.
LUMOGAME_API AlphaHandle ConvertAlpha(const char* name);
// A new graphic of the map's size, each pixel the grey (a, a, a).
LUMOGAME_API GraphicHandle AlphaToGraphic(AlphaHandle alpha);
// The map's bytes as the blends take them; an empty view (null data) for a
// null or unknown map, which the blends refuse with a log line.
LUMOGAME_API tAlphaBytes GetAlphaBytes(AlphaHandle alpha);

// ---- Inside the run-time system ----

// The "AILM" signature as stored, and the version of maps made here (1.3.0.0).
constexpr uint8_t kAlphaSignature[4] = {'A', 'I', 'L', 'M'};
constexpr uint32_t kAlphaVersion = 0x01030000;
constexpr uint32_t kAlphaHeaderSize = 24;

// The record behind an AlphaHandle. Its first six words are the file header
// in memory order.
struct tAlphaRecord {
  uint8_t Signature[4] = {'A', 'I', 'L', 'M'};
  uint32_t Version = kAlphaVersion;
  uint32_t HeaderSize = kAlphaHeaderSize;
  uint32_t DataSize = 0;  // Width * Height
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::unique_ptr<uint8_t[]> Data;
  // Slots freed with the record; nothing fills them yet.
  std::vector<uint8_t> Auxiliary;
  GraphicHandle Graphic = nullptr;
  uint32_t Reserved[2] = {0, 0};
};

// Gives the record width x height bytes of data, all 0, and sets its size
// words; false, with the record unchanged, when width x height does not fit
// a positive 32-bit size or the memory cannot be had.
bool AllocateAlphaData(tAlphaRecord& record, uint32_t width, uint32_t height);
// Hands a finished record over to the list of live maps; answers its handle.
AlphaHandle AdoptAlpha(std::unique_ptr<tAlphaRecord> record);
// The live record of a handle; null, after logging the prefix's null-pointer
// or unknown-map line, otherwise.
tAlphaRecord* FindAlpha(const char* prefix, AlphaHandle alpha);
// Maps made and not yet destroyed.
int32_t LiveAlphaCount();
