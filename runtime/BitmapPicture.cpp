#include "runtime/BitmapPicture.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"
#include "runtime/FileReplacement.h"
#include "runtime/PixelFunctions.h"
#include "runtime/SurfaceRetry.h"

using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;

uint32_t LoadStoredPixel(const uint8_t* address, uint32_t bytesPerPixel) {
  uint32_t value = 0;
  for (uint32_t index = 0; index < bytesPerPixel; ++index) {
    value |= static_cast<uint32_t>(address[index]) << (8 * index);
  }
  return value;
}

uint8_t WidenChannel(uint32_t pixel, const tPixelChannel& channel) {
  return static_cast<uint8_t>(((pixel & channel.Mask) >> channel.Shift) << channel.Loss);
}

// Unlocks on every way out.
class SurfaceLockGuard {
 public:
  explicit SurfaceLockGuard(Surface& surface) : surface_(surface) {}
  ~SurfaceLockGuard() {
    if (locked_) {
      surface_.Unlock();
    }
  }
  SurfaceLockGuard(const SurfaceLockGuard&) = delete;
  SurfaceLockGuard& operator=(const SurfaceLockGuard&) = delete;
  SurfaceResult Lock(platform::SurfaceLock& lock) {
    const SurfaceResult result = RetryOnSurface(surface_, [&] { return surface_.Lock(lock); });
    locked_ = result == SurfaceResult::Ok;
    return result;
  }

 private:
  Surface& surface_;
  bool locked_ = false;
};

// The 54 bytes of file and info header of a 24-bit picture.
void StoreHeaders(uint8_t* bytes, const tBitmapPicture& picture, uint32_t rowBytes, int32_t pixelsPerMetre) {
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.Height);
  bytes[0] = 'B';
  bytes[1] = 'M';
  image_io::StoreLittle32(bytes + 2, kHeaderBytes + imageBytes);
  image_io::StoreLittle32(bytes + 6, 0);  // two reserved words
  image_io::StoreLittle32(bytes + 10, kHeaderBytes);
  uint8_t* info = bytes + kFileHeaderBytes;
  image_io::StoreLittle32(info, kInfoHeaderBytes);
  image_io::StoreLittle32(info + 4, static_cast<uint32_t>(picture.Width));
  image_io::StoreLittle32(info + 8, static_cast<uint32_t>(picture.Height));  // positive: bottom-up rows
  image_io::StoreLittle16(info + 12, 1);                                      // planes
  image_io::StoreLittle16(info + 14, 24);                                     // bits per pixel
  image_io::StoreLittle32(info + 16, 0);                                      // uncompressed
  image_io::StoreLittle32(info + 20, imageBytes);
  image_io::StoreLittle32(info + 24, static_cast<uint32_t>(pixelsPerMetre));
  image_io::StoreLittle32(info + 28, static_cast<uint32_t>(pixelsPerMetre));
  image_io::StoreLittle32(info + 32, 0);  // colours used
  image_io::StoreLittle32(info + 36, 0);  // colours important
}

bool WriteBitmapFile(FileHandle file, const tBitmapPicture& picture, int32_t pixelsPerMetre) {
  const uint32_t pixelBytes = static_cast<uint32_t>(picture.Width) * 3;
  const uint32_t rowBytes = (pixelBytes + 3) & ~3u;
  uint8_t headers[kHeaderBytes] = {};
  StoreHeaders(headers, picture, rowBytes, pixelsPerMetre);
  if (!image_io::WriteExact(file, headers, kHeaderBytes)) {
    return false;
  }
  std::vector<uint8_t> row(rowBytes, 0);
  for (int32_t y = picture.Height - 1; y >= 0; --y) {
    std::copy_n(picture.PixelAt(0, y), pixelBytes, row.begin());
    if (!image_io::WriteExact(file, row.data(), rowBytes)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool MakePicture(int32_t width, int32_t height, uint8_t grey, tBitmapPicture& picture) {
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return false;
  }
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, grey);
  return true;
}

SurfaceResult ReadSurfacePicture(Surface& surface, const SurfaceRect& rectangle, tBitmapPicture& picture) {
  if (!MakePicture(rectangle.Width(), rectangle.Height(), 0, picture)) {
    return SurfaceResult::InvalidRectangle;
  }
  SurfaceLockGuard guard(surface);
  platform::SurfaceLock lock;
  const SurfaceResult locked = guard.Lock(lock);
  if (locked != SurfaceResult::Ok) {
    return locked;
  }
  const tPixelFormatInfo format = DescribePixelFormat(lock.format);
  const uint32_t bytesPerPixel = lock.format.BytesPerPixel();
  const int32_t left = std::max(rectangle.left, 0);
  const int32_t top = std::max(rectangle.top, 0);
  const int32_t right = std::min(rectangle.right, lock.width);
  const int32_t bottom = std::min(rectangle.bottom, lock.height);
  for (int32_t y = top; y < bottom; ++y) {
    const uint8_t* source = lock.memory + static_cast<std::ptrdiff_t>(y) * lock.pitch;
    for (int32_t x = left; x < right; ++x) {
      const uint32_t pixel = LoadStoredPixel(source + static_cast<std::ptrdiff_t>(x) * bytesPerPixel, bytesPerPixel);
      uint8_t* target = picture.PixelAt(x - rectangle.left, y - rectangle.top);
      target[0] = WidenChannel(pixel, format.Blue);
      target[1] = WidenChannel(pixel, format.Green);
      target[2] = WidenChannel(pixel, format.Red);
    }
  }
  return SurfaceResult::Ok;
}

void StretchPicture(const tBitmapPicture& source, const SurfaceRect& sourceRectangle, tBitmapPicture& destination,
                    const SurfaceRect& destinationRectangle) {
  if (sourceRectangle.IsEmpty() || destinationRectangle.IsEmpty()) {
    return;
  }
  const int64_t sourceWidth = sourceRectangle.Width();
  const int64_t sourceHeight = sourceRectangle.Height();
  const int64_t destinationWidth = destinationRectangle.Width();
  const int64_t destinationHeight = destinationRectangle.Height();
  const int32_t top = std::max(destinationRectangle.top, 0);
  const int32_t bottom = std::min(destinationRectangle.bottom, destination.Height);
  const int32_t left = std::max(destinationRectangle.left, 0);
  const int32_t right = std::min(destinationRectangle.right, destination.Width);
  for (int32_t y = top; y < bottom; ++y) {
    const int64_t sourceY = sourceRectangle.top + (y - destinationRectangle.top) * sourceHeight / destinationHeight;
    if (sourceY < 0 || sourceY >= source.Height) {
      continue;
    }
    for (int32_t x = left; x < right; ++x) {
      const int64_t sourceX = sourceRectangle.left + (x - destinationRectangle.left) * sourceWidth / destinationWidth;
      if (sourceX >= 0 && sourceX < source.Width) {
        std::copy_n(source.PixelAt(static_cast<int32_t>(sourceX), static_cast<int32_t>(sourceY)), 3,
                    destination.PixelAt(x, y));
      }
    }
  }
}

bool WriteBitmapPicture(const char* prefix, const char* name, const void* item, const tBitmapPicture& picture,
                        int32_t pixelsPerMetre) {
  const tReplaceResult result =
      WriteFileReplacing(name, [&](FileHandle file) { return WriteBitmapFile(file, picture, pixelsPerMetre); });
  switch (result) {
    case tReplaceResult::Written: return true;
    case tReplaceResult::NotCreated:
      DebugPrint("%s Cannot create file (Name=%s, Item=%p)\n", prefix, name, item);
      return false;
    default:
      DebugPrint("%s Cannot write file (Name=%s, Item=%p)\n", prefix, name, item);
      return false;
  }
}
