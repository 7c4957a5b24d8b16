#pragma once

#include <cstdint>

#include "base/LumoStream.h"

// A stream over a block of memory that it either borrows from its caller or
// owns. An owned block can grow by a step (a multiple of the record size)
// when a write or a seek runs past its end; a borrowed block never grows and
// is never freed by the stream.
class LumoMemoryStream : public LumoStream {
 public:
  // Growth never takes an owned block beyond this size, so a seek target or
  // a length read from a damaged file cannot make the stream allocate
  // gigabytes.
  static constexpr uint32_t kMaxGrownSize = 256u << 20;

  LumoMemoryStream();
  // Frees an owned block.
  ~LumoMemoryStream() override;

  const char* GetClassName() const override;
  // Closes the stream (freeing an owned block) before the list's own freeing.
  void DoFree() override;

  bool DoOpen() override;
  bool DoClose() override;
  bool DoRead(void* target, uint32_t count, uint32_t& read) override;
  bool DoWrite(const void* source, uint32_t count, uint32_t& written) override;
  int32_t DoSeek(int32_t offset, int32_t origin) override;

  // Only for an open stream that owns its block, and for a size other than
  // 0 and the current one: new bytes are zero and a position beyond the new
  // end moves back to it. Answers the new size, 0 on failure.
  virtual uint32_t Resize(uint32_t newSize);
  // Grows an owned block to the smallest multiple of the record size not
  // below size + extra + growth; a failure is error "Out of memory".
  virtual bool Grow(uint32_t extra);
  // Only for an owned block and a non-zero record size: the growth step,
  // rounded up to a multiple of the record size. Answers it, 0 when refused.
  virtual uint32_t SetGrowth(uint32_t step);

  // Closes, then opens on the caller's block, which must outlive the open
  // stream. The stream never grows it.
  bool OpenBuffer(void* block, uint32_t blockSize, int32_t newRecordSize, uint32_t newRecordOffset);
  // Closes, then opens on a new zero-filled block of blockSize bytes that the
  // stream owns; a size of 0 fails.
  bool OpenNew(uint32_t blockSize, int32_t newRecordSize, uint32_t newRecordOffset);

  uint8_t* buffer = nullptr;
  uint32_t size = 0;      // bytes in the block
  uint32_t position = 0;  // 0..size
  uint32_t growth = 0;    // 0: the stream never grows
  uint8_t ownsBuffer = 0;

 private:
  // Growth is tried only on an open stream that owns its block and has a step.
  bool CanGrow() const;
  void ReleaseBuffer();
};
