#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/tList.h"
#include "platform/Audio.h"

// One loaded sound of the sound list; its text is the sound's file name.
// Duplicates share the mixer's sample data and keep their own position,
// volume and pan.
class LumoSound : public tStrNode {
 public:
  const char* GetClassName() const override { return "LumoSound"; }
  // Stops and releases the buffer and frees the data and the format.
  void Free() override;

  std::unique_ptr<platform::SoundBuffer> buffer;
  std::vector<uint8_t> data;  // the samples while loading; freed after the upload
  uint32_t size = 0;          // bytes of sample data
  platform::AudioFormat format;
  std::vector<uint8_t> formatExtra;  // the format's extra bytes (non-PCM formats)
  int32_t playCount = 0;             // of the last PlaySound: <0 loops, >0 once, 0 nothing
};
