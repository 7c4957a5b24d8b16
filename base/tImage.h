#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/TextUtils.h"
#include "base/tObject.h"
#include "runtime/Alpha.h"
#include "runtime/Files.h"
#include "runtime/Graphics.h"

// A plain pixel buffer outside the display: size, row pitch, bits per pixel,
// channel masks, origin and an optional separate alpha plane (one byte per
// pixel). Converts pixels between the 15-, 16-, 24- and 32-bit formats in
// either channel order, saves and loads the native "YLM" image file and
// exchanges its contents with the run-time system's graphics.

// The 14 words of an image's description, in their stored order; they are
// also the header of the native image file.
enum tImageWord : uint32_t {
  ImageWordSignature = 0,  // "YLM" and NUL, as bytes
  ImageWordVersion,
  ImageWordWidth,
  ImageWordHeight,
  ImageWordBitsPerPixel,
  ImageWordFlags,
  ImageWordPitch,
  ImageWordDataSize,
  ImageWordTransparent,
  ImageWordRedMask,
  ImageWordGreenMask,
  ImageWordBlueMask,
  ImageWordAlphaMask,
  ImageWordFormatRecord,  // 16-bit value in bits 0-15, a byte in bits 16-23
  ImageWordCount
};

// Flags word: bits 0-1 origin, bits 2-5 format code, bit 6 alpha plane.
constexpr uint32_t kImageOriginMask = 0x3;
constexpr uint32_t kImageFormatCodeMask = 0x3C;
constexpr uint32_t kImageAlphaFlag = 0x40;
// Origin 0: rows bottom-up; origin 2: rows top-down from the top left.
constexpr uint32_t kImageBottomUp = 0;
constexpr uint32_t kImageTopDown = 2;
// Version words of images copied from graphics and read from BMP files.
constexpr uint32_t kImageVersionGraphic = 0x1000000;
constexpr uint32_t kImageVersionBitmap = 0x1010000;

// One side of a pixel copy: where its pixel (0, 0) is and how it is laid out.
struct tPixelSide {
  uint8_t* Bits = nullptr;
  uint32_t BitsPerPixel = 0;
  uint32_t Origin = 0;
  uint32_t Pitch = 0;
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  uint32_t AlphaMask = 0;
};

class tImage : public tObject {
 public:
  using Description = std::array<uint32_t, ImageWordCount>;

  tImage() = default;
  ~tImage() override;

  const char* GetClassName() const override;
  // Runs Clear.
  void Free() override;
  // Only another tImage: its description, name and pixels (and alpha plane)
  // are copied; on failure this image is cleared.
  bool Assign(const tObject* other) override;

  // Writes "YLM" into word 0 and the version into word 1.
  virtual void SetSignature(uint32_t version);
  // Bytes of one row of that many pixels.
  virtual uint32_t GetPitch(uint32_t width) const;
  // New buffers for a width x height image (pitch 0: GetPitch); the old ones
  // are freed first. Returns the pixel data size, 0 on failure.
  virtual uint32_t SetSize(uint32_t pitch, uint32_t width, uint32_t height, bool withAlpha);
  virtual void SetFormatFlags(uint32_t flags);
  // ORs the origin bits (origin & 3) into the flags.
  virtual void ChangeFormatFlags(uint32_t origin);
  // Sets bits 2-5 to code when it is 4, 8, 12, 16 or 48 (else clears them);
  // returns the code set, 0 when refused.
  virtual uint32_t SetFormatCode(uint32_t code);
  // Accepts masks with no bit common to red, green and blue whose highest
  // bit together is bit 32, 24, 16 or 15; a refused format leaves none.
  // Returns the bits per pixel, 0 when refused.
  virtual uint32_t SetPixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask,
                                  uint32_t bitsPerPixel);
  // Copies a width x height block between two pixel layouts, converting
  // between 15, 16, 24 and 32 bits in either channel order. The caller
  // answers for both blocks being large enough.
  virtual bool Blt(const void* sourceBits, uint32_t sourceBitsPerPixel, uint32_t sourceOrigin, uint32_t sourcePitch,
                   uint32_t sourceRed, uint32_t sourceGreen, uint32_t sourceBlue, uint32_t sourceAlpha,
                   void* destinationBits, uint32_t destinationBitsPerPixel, uint32_t destinationOrigin,
                   uint32_t destinationPitch, uint32_t destinationRed, uint32_t destinationGreen,
                   uint32_t destinationBlue, uint32_t destinationAlpha, uint32_t width, uint32_t height);
  virtual void SetName(const char* name);
  virtual void SetTransparentValue(uint32_t value);
  // Stores the run-time's three-byte format record as its in-memory word.
  virtual void SetFormatRecord(uint32_t record);
  // Brings derived descriptions up to date; runs after creation and before
  // saving.
  virtual void PrepareFormat();
  virtual bool Create(uint32_t pitch, uint32_t width, uint32_t height, uint32_t redMask, uint32_t greenMask,
                      uint32_t blueMask, uint32_t alphaMask, uint32_t bitsPerPixel, uint32_t origin,
                      uint32_t formatCode, bool withAlpha, uint32_t version);
  // Back to an empty image: no description, name or buffers.
  virtual void Clear();
  // The native image file at the handle's position; a failed load leaves
  // the image empty.
  virtual bool LoadFrom(FileHandle file);
  virtual bool SaveTo(FileHandle file);
  // A new top-down image in the graphic's own format; an alpha map given
  // (of the graphic's size) becomes the image's alpha plane.
  virtual bool CopyFrom(GraphicHandle graphic, AlphaHandle alpha);
  // Replaces the caller's graphic and alpha map by a new graphic holding the
  // image in the display's format and, when the image has an alpha plane, a
  // new alpha map of it (its rows in the order of the pixel rows).
  virtual bool CopyTo(GraphicHandle& graphic, AlphaHandle& alpha);
  // Fills the image from another one, keeping its own pixel format.
  virtual bool ConvertImage(const tImage* image);
  // Fills the image from a graphic, keeping its own pixel format; an alpha
  // map given (of the graphic's size) becomes the image's alpha plane.
  virtual bool ConvertGraphic(GraphicHandle graphic, AlphaHandle alpha);

  // Blt with this image as the source, over its whole size.
  bool BltTo(const tPixelSide& destination);
  // Blt with this image as the destination, over its whole size.
  bool BltFrom(const tPixelSide& source);

  const Description& GetDescription() const { return description_; }
  uint32_t GetVersion() const { return description_[ImageWordVersion]; }
  uint32_t GetWidth() const { return description_[ImageWordWidth]; }
  uint32_t GetHeight() const { return description_[ImageWordHeight]; }
  uint32_t GetBitsPerPixel() const { return description_[ImageWordBitsPerPixel]; }
  uint32_t GetBytesPerPixel() const { return bytesPerPixel_; }
  uint32_t GetFlags() const { return description_[ImageWordFlags]; }
  uint32_t GetOrigin() const { return description_[ImageWordFlags] & kImageOriginMask; }
  uint32_t GetFormatCode() const { return description_[ImageWordFlags] & kImageFormatCodeMask; }
  uint32_t GetRowPitch() const { return description_[ImageWordPitch]; }
  uint32_t GetDataSize() const { return description_[ImageWordDataSize]; }
  uint32_t GetTransparentValue() const { return description_[ImageWordTransparent]; }
  uint32_t GetRedMask() const { return description_[ImageWordRedMask]; }
  uint32_t GetGreenMask() const { return description_[ImageWordGreenMask]; }
  uint32_t GetBlueMask() const { return description_[ImageWordBlueMask]; }
  uint32_t GetAlphaMask() const { return description_[ImageWordAlphaMask]; }
  uint32_t GetFormatRecord() const { return description_[ImageWordFormatRecord]; }
  const char* GetName() const { return name_; }
  bool HasAlpha() const { return alpha_ != nullptr; }
  uint8_t* GetBits() { return bits_.get(); }
  const uint8_t* GetBits() const { return bits_.get(); }
  uint8_t* GetAlphaBits() { return alpha_.get(); }
  const uint8_t* GetAlphaBits() const { return alpha_.get(); }
  // Bytes of the alpha plane: width x height when there is one.
  uint32_t GetAlphaSize() const;
  // This image's buffer and format as one side of a Blt.
  tPixelSide PixelSide() const;

 protected:
  // The name for log lines ("" when none).
  const char* LogName() const { return name_ != nullptr ? name_ : ""; }
  // Clear, but the name stays.
  void ClearKeepingName();

 private:
  bool BltSides(const tPixelSide& source, const tPixelSide& destination, uint32_t width, uint32_t height);

  Description description_{};
  uint32_t bytesPerPixel_ = 0;
  tCharStr name_ = nullptr;
  std::unique_ptr<uint8_t[]> bits_;
  std::unique_ptr<uint8_t[]> alpha_;
};
