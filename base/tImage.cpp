#include "base/tImage.h"

#include <cstring>
#include <new>
#include <typeinfo>

#include "base/DebugFormat.h"

namespace {

constexpr uint8_t kSignature[4] = {'Y', 'L', 'M', '\0'};

bool IsSupportedDepth(uint32_t bitsPerPixel) {
  return bitsPerPixel == 32 || bitsPerPixel == 24 || bitsPerPixel == 16 || bitsPerPixel == 15;
}

bool IsFormatCode(uint32_t code) { return code == 4 || code == 8 || code == 12 || code == 16 || code == 48; }

// A zeroed buffer, or null when the memory is not there.
std::unique_ptr<uint8_t[]> AllocatePlane(uint64_t size) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[static_cast<size_t>(size)]());
}

}  // namespace

tImage::~tImage() { FreeCharStr(name_); }

const char* tImage::GetClassName() const { return "tImage"; }

void tImage::Free() { Clear(); }

bool tImage::Assign(const tObject* other) {
  const auto* source = dynamic_cast<const tImage*>(other);
  if (source == nullptr) {
    return false;
  }
  if (source == this) {
    return true;
  }
  Clear();
  description_[ImageWordSignature] = source->description_[ImageWordSignature];
  description_[ImageWordVersion] = source->GetVersion();
  SetName(source->GetName());
  SetFormatFlags(source->GetFlags() & ~kImageAlphaFlag);
  SetPixelFormat(source->GetRedMask(), source->GetGreenMask(), source->GetBlueMask(), source->GetAlphaMask(),
                 source->GetBitsPerPixel());
  SetTransparentValue(source->GetTransparentValue());
  SetFormatRecord(source->GetFormatRecord());
  if (source->GetBits() == nullptr) {
    PrepareFormat();
    return true;
  }
  if (SetSize(0, source->GetWidth(), source->GetHeight(), source->HasAlpha()) == 0 || !BltFrom(source->PixelSide())) {
    Clear();
    return false;
  }
  if (HasAlpha()) {
    std::memcpy(alpha_.get(), source->GetAlphaBits(), GetAlphaSize());
  }
  PrepareFormat();
  return true;
}

void tImage::SetSignature(uint32_t version) {
  uint32_t signature;
  std::memcpy(&signature, kSignature, sizeof signature);
  description_[ImageWordSignature] = signature;
  description_[ImageWordVersion] = version;
}

uint32_t tImage::GetPitch(uint32_t width) const { return bytesPerPixel_ * width; }

uint32_t tImage::SetSize(uint32_t pitch, uint32_t width, uint32_t height, bool withAlpha) {
  description_[ImageWordFlags] &= ~kImageAlphaFlag;
  description_[ImageWordWidth] = 0;
  description_[ImageWordHeight] = 0;
  description_[ImageWordPitch] = 0;
  description_[ImageWordDataSize] = 0;
  bits_.reset();
  alpha_.reset();
  if (pitch == 0) {
    pitch = GetPitch(width);
  }
  // Every row must hold the pixels Blt copies, and the data size must fit
  // its 32-bit word.
  const uint64_t rowNeed = static_cast<uint64_t>(bytesPerPixel_) * width;
  const uint64_t size = static_cast<uint64_t>(pitch) * height;
  const uint64_t alphaSize = static_cast<uint64_t>(width) * height;
  if (pitch == 0 || width == 0 || height == 0 || pitch < rowNeed || size > UINT32_MAX || alphaSize > UINT32_MAX) {
    DebugPrint("tImage::SetSize() Invalid image size (Pitch=%u, Width=%u, Height=%u, Image=%p:%s)\n", pitch, width,
               height, static_cast<void*>(this), GetClassName());
    return 0;
  }
  bits_ = AllocatePlane(size);
  if (bits_ == nullptr) {
    DebugPrint(
        "tImage::SetSize() Cannot create the image buffer - Out of memory (Pitch=%u, Width=%u, Height=%u, "
        "Image=%p:%s)\n",
        pitch, width, height, static_cast<void*>(this), GetClassName());
    return 0;
  }
  if (withAlpha) {
    alpha_ = AllocatePlane(alphaSize);
    if (alpha_ == nullptr) {
      bits_.reset();
      DebugPrint(
          "tImage::SetSize() Cannot create the alpha buffer - Out of memory (Pitch=%u, Width=%u, Height=%u, "
          "Image=%p:%s)\n",
          pitch, width, height, static_cast<void*>(this), GetClassName());
      return 0;
    }
    description_[ImageWordFlags] |= kImageAlphaFlag;
  }
  description_[ImageWordWidth] = width;
  description_[ImageWordHeight] = height;
  description_[ImageWordPitch] = pitch;
  description_[ImageWordDataSize] = static_cast<uint32_t>(size);
  return static_cast<uint32_t>(size);
}

void tImage::SetFormatFlags(uint32_t flags) { description_[ImageWordFlags] = flags; }

void tImage::ChangeFormatFlags(uint32_t origin) { description_[ImageWordFlags] |= origin & kImageOriginMask; }

uint32_t tImage::SetFormatCode(uint32_t code) {
  description_[ImageWordFlags] &= ~kImageFormatCodeMask;
  if (!IsFormatCode(code)) {
    return 0;
  }
  description_[ImageWordFlags] |= code & kImageFormatCodeMask;
  return code & kImageFormatCodeMask;
}

uint32_t tImage::SetPixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask,
                                uint32_t bitsPerPixel) {
  description_[ImageWordRedMask] = redMask;
  description_[ImageWordGreenMask] = greenMask;
  description_[ImageWordBlueMask] = blueMask;
  const bool disjoint = (redMask & greenMask) == 0 && (redMask & blueMask) == 0 && (greenMask & blueMask) == 0;
  const int32_t highestBit = HighestBit(redMask | greenMask | blueMask | alphaMask);
  if (disjoint && (highestBit == 32 || highestBit == 24 || highestBit == 16 || highestBit == 15)) {
    description_[ImageWordAlphaMask] = alphaMask;
    description_[ImageWordBitsPerPixel] = bitsPerPixel;
    bytesPerPixel_ = (bitsPerPixel + 7) / 8;
    return bitsPerPixel;
  }
  description_[ImageWordRedMask] = 0;
  description_[ImageWordGreenMask] = 0;
  description_[ImageWordBlueMask] = 0;
  description_[ImageWordAlphaMask] = 0;
  description_[ImageWordBitsPerPixel] = 0;
  bytesPerPixel_ = 0;
  return 0;
}

void tImage::SetName(const char* name) { SetCharStr(name_, name); }

void tImage::SetTransparentValue(uint32_t value) { description_[ImageWordTransparent] = value; }

void tImage::SetFormatRecord(uint32_t record) { description_[ImageWordFormatRecord] = record; }

void tImage::PrepareFormat() {}

bool tImage::Create(uint32_t pitch, uint32_t width, uint32_t height, uint32_t redMask, uint32_t greenMask,
                    uint32_t blueMask, uint32_t alphaMask, uint32_t bitsPerPixel, uint32_t origin,
                    uint32_t formatCode, bool withAlpha, uint32_t version) {
  // A re-created image starts from fresh flags: the origin is ORed in, so
  // the origin of earlier contents would otherwise stay.
  SetFormatFlags(0);
  SetSignature(version);
  ChangeFormatFlags(origin);
  SetFormatCode(formatCode);
  if (!IsSupportedDepth(bitsPerPixel)) {
    DebugPrint("tImage::Create() Color depth not supported (Bits/Pixel=%u, Image=%p:%s)\n", bitsPerPixel,
               static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  if (SetPixelFormat(redMask, greenMask, blueMask, alphaMask, bitsPerPixel) == 0) {
    DebugPrint(
        "tImage::Create() Pixel format not supported (Red=%x, Green=%x, Blue=%x, Alpha=%x, Bits/Pixel=%u, "
        "Image=%p:%s)\n",
        redMask, greenMask, blueMask, alphaMask, bitsPerPixel, static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  if (width != 0 && height != 0 && SetSize(pitch, width, height, withAlpha) == 0) {
    Clear();
    return false;
  }
  PrepareFormat();
  return true;
}

void tImage::Clear() {
  description_.fill(0);
  bytesPerPixel_ = 0;
  FreeCharStr(name_);
  bits_.reset();
  alpha_.reset();
}

void tImage::ClearKeepingName() {
  tCharStr name = name_;
  name_ = nullptr;
  Clear();
  name_ = name;
}

uint32_t tImage::GetAlphaSize() const { return HasAlpha() ? GetWidth() * GetHeight() : 0; }

tPixelSide tImage::PixelSide() const {
  return tPixelSide{bits_.get(),  GetBitsPerPixel(), GetOrigin(),    GetRowPitch(),
                    GetRedMask(), GetGreenMask(),    GetBlueMask(), GetAlphaMask()};
}

bool tImage::ConvertImage(const tImage* image) {
  if (image == nullptr || image == this) {
    DebugPrint("tImage::Convert() The source is missing or the image itself (Source=%p, Image=%p:%s)\n",
               static_cast<const void*>(image), static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  const bool withAlpha = (image->GetFlags() & kImageAlphaFlag) != 0 && image->HasAlpha();
  if (SetSize(0, image->GetWidth(), image->GetHeight(), withAlpha) == 0) {
    Clear();
    return false;
  }
  if (HasAlpha()) {
    std::memcpy(alpha_.get(), image->GetAlphaBits(), GetAlphaSize());
  }
  SetFormatCode(image->GetFlags() & kImageFormatCodeMask);
  SetTransparentValue(image->GetTransparentValue());
  SetFormatRecord(image->GetFormatRecord());
  if (!BltFrom(image->PixelSide())) {
    DebugPrint("tImage::Convert() Unhandled exception during BltFrom() (Source=%p:%s, Dest=%p:%s)\n",
               static_cast<const void*>(image), image->GetClassName(), static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  return true;
}
