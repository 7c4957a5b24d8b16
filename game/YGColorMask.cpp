#include "game/YGColorMask.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "framework/LumoEngine.h"
#include "runtime/Blend.h"

namespace {

LumoClassOf<YGColorMask> classOfYGColorMask(kVersion_1_5_1_6, "YGColorMask", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_5_1_6, YGColorMask, Data, PropertyPointer, "tPointer");

const std::vector<uint8_t> kEmptyMask = {0, 0};

// Appends one run, split as 255, 0, 255, 0, ... remainder.
void AppendRun(std::vector<uint8_t>& data, int64_t length) {
  while (length > 255) {
    data.push_back(255);
    data.push_back(0);
    length -= 255;
  }
  data.push_back(static_cast<uint8_t>(length));
}

// The colour of a pixel without any alpha bits the format keeps.
bool SameColour(uint32_t first, uint32_t second) {
  return GetRed(first) == GetRed(second) && GetGreen(first) == GetGreen(second) &&
         GetBlue(first) == GetBlue(second);
}

// Unlocks on leaving the scope.
struct GraphicLock {
  explicit GraphicLock(GraphicHandle graphic) : locked(graphic != nullptr ? LockGraphic(graphic) : nullptr) {}
  ~GraphicLock() {
    if (locked != nullptr) {
      UnlockGraphic(locked);
    }
  }
  GraphicLock(const GraphicLock&) = delete;
  GraphicLock& operator=(const GraphicLock&) = delete;
  LockedGraphic* locked;
};

}  // namespace

YGColorMask::YGColorMask() : Data(kEmptyMask) {}

YGColorMask::YGColorMask(GraphicHandle mask) : Data(kEmptyMask) { Encode(mask); }

YGColorMask::YGColorMask(int32_t width, int32_t height, GraphicHandle source, AlphaHandle alpha)
    : Data(kEmptyMask) {
  if (width <= 0 || height <= 0 || source == nullptr) {
    return;
  }
  const sRGB black{};
  sRGB white;
  white.Red = white.Green = white.Blue = 255;
  GraphicHandle blackGraphic = CreateGraphic(width, height, black);
  GraphicHandle whiteGraphic = CreateGraphic(width, height, white);
  if (blackGraphic != nullptr && whiteGraphic != nullptr) {
    const sRGB key = Engine != nullptr ? Engine->TransparentKeyColour() : sRGB{};
    const uint32_t transparent = ConvertRGB(key);
    const uint32_t whitePixel = ConvertRGB(white);
    const uint32_t blackPixel = ConvertRGB(black);
    {
      GraphicLock sourceLock(source);
      GraphicLock whiteLock(whiteGraphic);
      if (sourceLock.locked != nullptr && whiteLock.locked != nullptr) {
        const int32_t rows = std::min(height, sourceLock.locked->Description.Height);
        const int32_t columns = std::min(width, sourceLock.locked->Description.Width);
        for (int32_t y = 0; y < height; ++y) {
          for (int32_t x = 0; x < width; ++x) {
            const bool opaque = y < rows && x < columns && !SameColour(GetPixelColorAt(sourceLock.locked, x, y), transparent);
            SetPixelColorAt(whiteLock.locked, x, y, opaque ? whitePixel : blackPixel);
          }
        }
      }
    }
    {
      GraphicLock blackLock(blackGraphic);
      GraphicLock whiteLock(whiteGraphic);
      if (blackLock.locked != nullptr && whiteLock.locked != nullptr) {
        SelectPixelAt(blackLock.locked, 0, 0);
        SelectPixelAt(whiteLock.locked, 0, 0);
        BlendAlpha(blackLock.locked, whiteLock.locked, alpha, width, height);
      }
    }
    Encode(blackGraphic);
  }
  DestroyGraphic(blackGraphic);
  DestroyGraphic(whiteGraphic);
}

const char* YGColorMask::GetClassName() const { return "YGColorMask"; }

void YGColorMask::DoFree() {
  Data.clear();
  Data.shrink_to_fit();
  LumoObject::DoFree();
}

bool YGColorMask::IsWellFormed(const uint8_t* bytes, size_t size) {
  return bytes != nullptr && size >= 2 && bytes[size - 1] == 0 && bytes[size - 2] == 0;
}

bool YGColorMask::LoadData(LumoStream* stream, const LumoProperty*) {
  int32_t length = 0;
  if (stream == nullptr || !stream->ReadInteger(length)) {
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  const int64_t bound = remaining >= 0 ? remaining : static_cast<int64_t>(kMaxStreamBlock);
  if (length < 2 || length > bound) {
    DebugPrint("(RES) YGColorMask::LoadData() Length %d does not fit the stream (%lld bytes left)\n", length,
               static_cast<long long>(remaining));
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (!stream->ReadBlock(bytes.data(), static_cast<uint32_t>(length))) {
    return false;
  }
  if (!IsWellFormed(bytes.data(), bytes.size())) {
    DebugPrint("(RES) YGColorMask::LoadData() The data of %d bytes does not end in two zero bytes\n", length);
    return false;
  }
  Data = std::move(bytes);
  return true;
}

bool YGColorMask::SaveData(LumoStream* stream, const LumoProperty*) {
  const std::vector<uint8_t>& bytes = IsWellFormed(Data.data(), Data.size()) ? Data : kEmptyMask;
  return stream != nullptr && stream->WriteInteger(static_cast<int32_t>(bytes.size())) &&
         stream->WriteBlock(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool YGColorMask::Encode(GraphicHandle mask) {
  Data = kEmptyMask;
  GraphicLock lock(mask);
  if (lock.locked == nullptr) {
    return false;
  }
  const int32_t width = lock.locked->Description.Width;
  const int32_t height = lock.locked->Description.Height;
  std::vector<uint8_t> encoded;
  bool masking = false;  // the kind of the run being counted
  int64_t run = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const bool masked = !SameColour(GetPixelColorAt(lock.locked, x, y), 0);
      if (masked != masking) {
        AppendRun(encoded, run);
        masking = masked;
        run = 0;
      }
      ++run;
    }
  }
  if (masking) {
    AppendRun(encoded, run);
  }
  encoded.push_back(0);
  encoded.push_back(0);
  Data = std::move(encoded);
  return true;
}

void YGColorMask::Apply(const sRGB& colour, GraphicHandle graphic) const {
  GraphicLock lock(graphic);
  if (lock.locked == nullptr) {
    return;
  }
  const int32_t width = lock.locked->Description.Width;
  const int64_t pixels = static_cast<int64_t>(width) * lock.locked->Description.Height;
  int64_t position = 0;
  bool masking = false;
  // The data ends in two zero bytes, but a run of 0 also separates long runs,
  // so the end is two zero bytes met where a run starts.
  for (size_t index = 0; index < Data.size() && position < pixels; ++index) {
    const uint8_t run = Data[index];
    if (run == 0 && index + 1 < Data.size() && Data[index + 1] == 0) {
      break;
    }
    if (masking) {
      const int64_t end = std::min<int64_t>(position + run, pixels);
      for (; position < end; ++position) {
        SelectPixelAt(lock.locked, static_cast<int32_t>(position % width), static_cast<int32_t>(position / width));
        uint32_t red = 0;
        uint32_t green = 0;
        uint32_t blue = 0;
        GetPixelRGB(lock.locked, red, green, blue);
        const uint32_t grey = (red + green + blue) / 3;
        SetPixelRGB(lock.locked, grey * colour.Red / 256, grey * colour.Green / 256, grey * colour.Blue / 256);
      }
    } else {
      position += run;
    }
    masking = !masking;
  }
}
