#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Surface.h"

namespace platform {

// ---- Movies ----

// An AVI file with one video stream of uncompressed frames (16, 24 or 32-bit
// BGR, bottom-up or top-down rows) and at most one PCM sound stream. Anything
// else is refused with the reason. Frames are read from the file one at a
// time; the sound is read whole, for the mixer.
class Movie {
 public:
  // Null with the reason in failure when the file is missing or its content
  // is not what the layer plays.
  static std::unique_ptr<Movie> Open(const std::string& path, std::string& failure);
  ~Movie();
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t FrameCount() const { return static_cast<uint32_t>(frames_.size()); }
  // Duration of one frame in units of 100 ns, rounded down.
  uint64_t FrameDuration() const { return frameDuration_; }
  // The whole movie in units of 100 ns, from the frame count and the rate in
  // one step (12 frames at 12 per second last exactly one second).
  uint64_t Duration() const;
  // The frame shown at a time in units of 100 ns (FrameCount() and above
  // after the end).
  uint64_t FrameAt(uint64_t time) const;

  // Decodes a frame into a surface of the movie's size, converting to the
  // surface's pixel format. A frame stored empty (a repeated frame) leaves
  // the surface as it is.
  SurfaceResult ReadFrame(uint32_t index, Surface& target);

  bool HasSound() const { return hasSound_; }
  const AudioFormat& SoundFormat() const { return soundFormat_; }
  const std::vector<uint8_t>& SoundData() const { return sound_; }

 private:
  struct FrameChunk {
    uint64_t offset = 0;
    uint32_t size = 0;
  };
  Movie() = default;
  bool Read(const std::string& path, std::string& failure);
  // Collects the frames and the sound of a "movi" list (and of lists inside it).
  bool ReadMovieList(uint64_t begin, uint64_t end, uint32_t videoStream, uint32_t soundStream,
                     std::string& failure);

  std::FILE* file_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool bottomUp_ = true;
  uint16_t bitsPerPixel_ = 24;
  uint64_t frameDuration_ = 0;
  uint32_t frameScale_ = 1;  // a frame lasts frameScale_ / frameRate_ seconds
  uint32_t frameRate_ = 1;
  std::vector<FrameChunk> frames_;
  std::vector<uint8_t> frameBytes_;  // one stored frame, reused
  bool hasSound_ = false;
  AudioFormat soundFormat_;
  std::vector<uint8_t> sound_;
};

}  // namespace platform
