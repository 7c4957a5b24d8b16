#include "runtime/Alpha.h"

#include <climits>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "base/DebugFormat.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/GraphicFiles.h"
#include "runtime/PixelFunctions.h"

namespace {

// The maps the game made, owned here until DestroyAlpha.
std::map<tAlphaRecord*, std::unique_ptr<tAlphaRecord>>& AlphaMaps() {
  static std::map<tAlphaRecord*, std::unique_ptr<tAlphaRecord>> maps;
  return maps;
}

// Where the alpha byte of one source pixel lies.
struct SourceLayout {
  uint32_t BytesPerPixel = 1;
  uint32_t AlphaOffset = 0;
};

SourceLayout LayoutOf(int32_t kind) {
  switch (kind) {
    case AlphaKindFourthOfFour: return {4, 3};
    case AlphaKindFirstOfThree: return {3, 0};
    case AlphaKindFirstOfFour: return {4, 0};
    default: return {1, 0};
  }
}

// Logs an out-of-memory line of the prefix, with the name when there is one.
void ReportNoMemory(const char* prefix, const char* what, const char* name) {
  if (name != nullptr) {
    DebugPrint("%s Cannot create alpha information%s - out of memory (Name=%s)\n", prefix, what, name);
  } else {
    DebugPrint("%s Cannot create alpha information%s - out of memory\n", prefix, what);
  }
}

// Destroys a graphic made here on every way out.
class GraphicOwner {
 public:
  explicit GraphicOwner(GraphicHandle graphic) : graphic_(graphic) {}
  ~GraphicOwner() {
    if (graphic_ != nullptr) {
      DestroyGraphic(graphic_);
    }
  }
  GraphicOwner(const GraphicOwner&) = delete;
  GraphicOwner& operator=(const GraphicOwner&) = delete;
  GraphicHandle Get() const { return graphic_; }
  GraphicHandle Release() {
    GraphicHandle graphic = graphic_;
    graphic_ = nullptr;
    return graphic;
  }

 private:
  GraphicHandle graphic_;
};

// Runs visit(pixel address, x, y) over every pixel of the graphic while it is
// locked; false when it cannot be locked (LockGraphic logs why).
template <typename Visit>
bool ForEachGraphicPixel(GraphicHandle graphic, uint32_t width, uint32_t height, Visit&& visit) {
  LockedGraphic* locked = LockGraphic(graphic);
  if (locked == nullptr) {
    return false;
  }
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      visit(GetPixelAddress(locked, static_cast<int32_t>(x), static_cast<int32_t>(y)), x, y);
    }
  }
  UnlockGraphic(locked);
  return true;
}

// A record with width x height bytes of data; null, after the prefix's
// out-of-memory line (with the name when there is one), on failure.
std::unique_ptr<tAlphaRecord> MakeAlphaRecord(const char* prefix, uint32_t width, uint32_t height,
                                              const char* name) {
  std::unique_ptr<tAlphaRecord> record(new (std::nothrow) tAlphaRecord());
  if (!record) {
    ReportNoMemory(prefix, "", name);
    return nullptr;
  }
  if (!AllocateAlphaData(*record, width, height)) {
    ReportNoMemory(prefix, " buffer", name);
    return nullptr;
  }
  return record;
}

}  // namespace

bool AllocateAlphaData(tAlphaRecord& record, uint32_t width, uint32_t height) {
  // The size is counted in 64 bits, so a product that does not fit the
  // 32-bit size word is refused instead of wrapping to a small buffer.
  const uint64_t size = uint64_t{width} * height;
  if (size > INT32_MAX) {
    return false;
  }
  std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size > 0 ? size : 1]());
  if (!data) {
    return false;
  }
  record.Data = std::move(data);
  record.Width = width;
  record.Height = height;
  record.DataSize = static_cast<uint32_t>(size);
  return true;
}

AlphaHandle AdoptAlpha(std::unique_ptr<tAlphaRecord> record) {
  tAlphaRecord* handle = record.get();
  if (handle != nullptr) {
    AlphaMaps().emplace(handle, std::move(record));
  }
  return handle;
}

tAlphaRecord* FindAlpha(const char* prefix, AlphaHandle alpha) {
  if (alpha == nullptr) {
    DebugPrint("%s Null pointer to the alpha information specified\n", prefix);
    return nullptr;
  }
  auto found = AlphaMaps().find(static_cast<tAlphaRecord*>(alpha));
  if (found == AlphaMaps().end()) {
    DebugPrint("%s Unknown alpha information specified (Alpha=%p)\n", prefix, alpha);
    return nullptr;
  }
  return found->second.get();
}

int32_t LiveAlphaCount() { return static_cast<int32_t>(AlphaMaps().size()); }

AlphaHandle CreateAlpha(int32_t width, int32_t height, const uint8_t* source, int32_t pitch, int32_t kind,
                        int32_t origin) {
  constexpr const char* prefix = "CreateAlpha()";
  if (source == nullptr) {
    return nullptr;
  }
  if (width < 1 || height < 1) {
    DebugPrint("%s Invalid size (Width=%i, Height=%i)\n", prefix, width, height);
    return nullptr;
  }
  if (origin != kAlphaOriginBottomUp && origin != kAlphaOriginTopDown) {
    DebugPrint("%s Origin not supported (Origin=%i)\n", prefix, origin);
    return nullptr;
  }
  std::unique_ptr<tAlphaRecord> record =
      MakeAlphaRecord(prefix, static_cast<uint32_t>(width), static_cast<uint32_t>(height), nullptr);
  if (!record) {
    return nullptr;
  }
  const SourceLayout layout = LayoutOf(kind);
  uint8_t* target = record->Data.get();
  for (int32_t row = 0; row < height; ++row) {
    const int64_t sourceRow = origin == kAlphaOriginTopDown ? row : height - 1 - row;
    const uint8_t* pixel = source + sourceRow * pitch + layout.AlphaOffset;
    for (int32_t column = 0; column < width; ++column) {
      *target++ = *pixel;
      pixel += layout.BytesPerPixel;
    }
  }
  return AdoptAlpha(std::move(record));
}

void DestroyAlpha(AlphaHandle alpha) {
  if (alpha == nullptr) {
    return;
  }
  tAlphaRecord* record = FindAlpha("DestroyAlpha()", alpha);
  if (record == nullptr) {
    return;
  }
  if (record->Graphic != nullptr) {
    DestroyGraphic(record->Graphic);
  }
  AlphaMaps().erase(record);
}

void GetAlphaSize(AlphaHandle alpha, int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  const tAlphaRecord* record = FindAlpha("GetAlphaSize()", alpha);
  if (record != nullptr) {
    width = static_cast<int32_t>(record->Width);
    height = static_cast<int32_t>(record->Height);
  }
}

bool ExtractAlpha(AlphaHandle alpha, uint8_t* buffer) {
  constexpr const char* prefix = "ExtractAlpha()";
  const tAlphaRecord* record = FindAlpha(prefix, alpha);
  if (record == nullptr) {
    return false;
  }
  if (buffer == nullptr) {
    DebugPrint("%s Null pointer to the buffer specified (Source=%p)\n", prefix, alpha);
    return false;
  }
  if (record->DataSize == 0) {
    DebugPrint("%s No alpha information (Source=%p, Dest=%p)\n", prefix, alpha, static_cast<void*>(buffer));
    return false;
  }
  std::memcpy(buffer, record->Data.get(), record->DataSize);
  return true;
}

AlphaHandle ConvertAlpha(const char* name) {
  constexpr const char* prefix = "ConvertAlpha()";
  if (name == nullptr) {
    DebugPrint("%s Null pointer to the name specified\n", prefix);
    return nullptr;
  }
  const std::string greyName = std::string(name) + "BW";
  GraphicOwner graphic(LoadGraphic(greyName.c_str()));
  if (graphic.Get() == nullptr) {
    return nullptr;
  }
  int32_t width = 0;
  int32_t height = 0;
  if (!GraphicSize(prefix, graphic.Get(), width, height) || width < 1 || height < 1) {
    DebugPrint("%s Cannot retrieve the size of a graphic (Item=%p)\n", prefix, graphic.Get());
    return nullptr;
  }
  std::unique_ptr<tAlphaRecord> record =
      MakeAlphaRecord(prefix, static_cast<uint32_t>(width), static_cast<uint32_t>(height), name);
  if (!record) {
    return nullptr;
  }
  uint8_t* data = record->Data.get();
  const uint32_t rowLength = record->Width;
  const tPixelFunctions& pixels = PixelFunctions();
  if (!ForEachGraphicPixel(graphic.Get(), record->Width, record->Height,
                           [&](const uint8_t* address, uint32_t x, uint32_t y) {
                             data[y * rowLength + x] = static_cast<uint8_t>(GetRed(pixels.GetPixel(address)));
                           })) {
    return nullptr;
  }
  if (DebugLevelAtLeast(1)) {
    DebugPrint("%s Alpha information created (Name=%s, Bytes=%i)\n", prefix, name,
               static_cast<int32_t>(record->DataSize));
  }
  return AdoptAlpha(std::move(record));
}

GraphicHandle AlphaToGraphic(AlphaHandle alpha) {
  constexpr const char* prefix = "AlphaToGraphic()";
  const tAlphaRecord* record = FindAlpha(prefix, alpha);
  if (record == nullptr) {
    return nullptr;
  }
  GraphicOwner graphic(
      MakeGraphic(prefix, static_cast<int32_t>(record->Width), static_cast<int32_t>(record->Height), true));
  if (graphic.Get() == nullptr) {
    return nullptr;
  }
  const uint8_t* data = record->Data.get();
  const uint32_t rowLength = record->Width;
  const tPixelFunctions& pixels = PixelFunctions();
  if (!ForEachGraphicPixel(graphic.Get(), record->Width, record->Height, [&](uint8_t* address, uint32_t x, uint32_t y) {
        const uint32_t grey = data[y * rowLength + x];
        pixels.SetPixel(address, pixels.Pack(grey, grey, grey));
      })) {
    return nullptr;
  }
  return graphic.Release();
}

tAlphaBytes GetAlphaBytes(AlphaHandle alpha) {
  const tAlphaRecord* record = FindAlpha("GetAlphaBytes()", alpha);
  if (record == nullptr) {
    return {};
  }
  return {record->Data.get(), record->DataSize};
}
