#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Backend.h"

namespace platform {

// ---- Formats and results ----

constexpr uint16_t kWaveFormatPcm = 1;

// A wave format as the files store it. Only PCM (8 or 16 bits, one or two
// channels, any rate) can be played.
struct AudioFormat {
  uint16_t formatTag = kWaveFormatPcm;
  uint16_t channels = 1;
  uint32_t samplesPerSecond = 22050;
  uint32_t averageBytesPerSecond = 44100;
  uint16_t blockAlign = 2;  // bytes of one frame (all channels)
  uint16_t bitsPerSample = 16;
};

// A PCM format with its derived fields (block align, bytes per second) filled in.
AudioFormat PcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample);
// True for a format the mixer can play.
bool IsPlayablePcm(const AudioFormat& format);

// What an audio operation answers; the values are the codes the run-time
// system's log shows in hex. Ok is 0.
enum class AudioResult : uint32_t {
  Ok = 0,
  InvalidParameters = 0x80070057,
  OutOfMemory = 0x8007000E,
  BadFormat = 0x88780064,      // not PCM, or a channel count, depth or rate the mixer lacks
  NoDriver = 0x88780078,       // no audio output could be opened
  NotInitialized = 0x887800AA, // the mixer's output is not open
};

inline uint32_t ResultCode(AudioResult result) { return static_cast<uint32_t>(result); }

// Volume in hundredths of a decibel (0 is full, -10000 silent) and pan
// (-10000 left only, 10000 right only).
constexpr int32_t kVolumeSilent = -10000;
constexpr int32_t kVolumeFull = 0;
constexpr int32_t kPanLeft = -10000;
constexpr int32_t kPanRight = 10000;

// The largest sound the mixer takes (bytes of sample data).
constexpr uint32_t kMaximumSoundBytes = 256u << 20;

// ---- Faders ----

// The machine's mixer faders: the master (speaker) volume scales the whole
// output, the CD-audio volume scales the CD tracks. A fader's value runs from
// its minimum to its maximum; an absent fader leaves its sounds unscaled.
enum class FaderKind : uint32_t { Master, CdAudio };

struct Fader {
  bool present = true;
  uint32_t minimum = 0;
  uint32_t maximum = 65535;
  uint32_t step = 1;
  uint32_t value = 65535;
};

class Audio;
struct SoundSamples;

// ---- Streamed sounds ----

// A block of samples a stream hands to the mixer: signed 16-bit, channels
// (1 or 2) interleaved, at a rate the mixer resamples from.
struct StreamBlock {
  std::vector<int16_t> samples;
  uint32_t frames = 0;
  uint16_t channels = 2;
  uint32_t samplesPerSecond = 44100;
  uint32_t tag = 0;  // the producer's own mark (a CD track's number)
};

// What feeds a streamed sound: blocks one after another, without a gap. The
// mixer calls it on its own thread with its lock held, so it must answer at
// once, or after at most one short read when nothing is ready.
class StreamSource {
 public:
  // Swaps the next block into block (whose old samples the source may reuse);
  // false when none is ready, with ended set when none will ever come.
  virtual bool NextBlock(StreamBlock& block, bool& ended) = 0;

 protected:
  ~StreamSource() = default;
};

// ---- Sound buffers ----

// A sound in the mixer: sample data (shared with its duplicates) with its own
// play state, position, volume and pan. Volume and pan are kept as the
// integers they were given and turned into gains only when mixing. Every
// operation is safe while the output device mixes on its own thread. A sound
// keeps its mixer alive, so the two may be released in any order.
//
// A streamed sound (Audio::CreateStream) plays the blocks of its source
// instead of data of its own: it has no size, no position and no data to
// fill, and a single play ends when the source has ended.
class SoundBuffer {
 public:
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  const AudioFormat& Format() const { return format_; }
  uint32_t Size() const { return size_; }  // bytes of sample data

  // Writes the whole sample data (at most Size() bytes; the rest stays silent).
  // Duplicates hear the new data too.
  AudioResult Fill(const uint8_t* data, uint32_t count);
  // Plays from the current position, once or looping. A single play that
  // reaches the end stops and goes back to position 0.
  AudioResult Play(bool looping);
  // Stops where it is.
  AudioResult Stop();
  bool IsPlaying();
  // Position in bytes of sample data, on a frame boundary.
  AudioResult GetPosition(uint32_t& bytes);
  AudioResult SetPosition(uint32_t bytes);
  // Hundredths of a decibel, -10000 to 0; other values are refused.
  AudioResult SetVolume(int32_t volume);
  AudioResult GetVolume(int32_t& volume);
  // -10000 to 10000; other values are refused.
  AudioResult SetPan(int32_t pan);
  AudioResult GetPan(int32_t& pan);
  // Makes the fader that scales this sound besides the master (the CD tracks
  // use the CD-audio fader).
  void SetFaderGroup(FaderKind kind);
  // A sound started when this one ends a single play (null: none); it must
  // belong to the same mixer and outlive the link.
  void SetFollower(SoundBuffer* follower);

 private:
  friend class Audio;
  SoundBuffer(std::shared_ptr<Audio> mixer, const AudioFormat& format, uint32_t size,
              std::shared_ptr<SoundSamples> data);

  // The stream of a streamed sound: its source and the block being played.
  struct Stream {
    StreamSource* source = nullptr;
    StreamBlock block;
    bool ended = false;
  };

  std::shared_ptr<Audio> mixer_;
  AudioFormat format_;
  uint32_t size_;
  std::shared_ptr<SoundSamples> data_;
  // The mixer's lock guards everything below.
  uint64_t position_ = 0;  // frames in 16.16 fixed point
  bool playing_ = false;
  bool looping_ = false;
  bool startPending_ = false;  // a follower whose leader ended; starts with the next chunk
  int32_t volume_ = kVolumeFull;
  int32_t pan_ = 0;
  FaderKind faderGroup_ = FaderKind::Master;
  SoundBuffer* follower_ = nullptr;
  std::unique_ptr<Stream> stream_;  // streamed sounds only
};

// ---- The mixer ----

// A software mixer of sound buffers into the back end's audio output, in the
// primary format (signed 16-bit samples at its rate and channel count). The
// mixer keeps its back end alive and its sounds keep the mixer alive, so no
// order of release (static destruction at exit included) reaches a back end
// or a mixer that is gone.
class Audio final : public AudioSource, public std::enable_shared_from_this<Audio> {
 public:
  // Opens the back end's audio output; null (NoDriver) when it cannot. The
  // back end is one GetBackend gave.
  static std::shared_ptr<Audio> Create(Backend& backend, AudioResult& result);
  ~Audio();
  Audio(const Audio&) = delete;
  Audio& operator=(const Audio&) = delete;

  // Reopens the output in a PCM format; the format the output got is kept.
  AudioResult SetPrimaryFormat(const AudioFormat& format);
  const AudioFormat& PrimaryFormat() const { return primary_; }
  // Starts the mix; until then the output is silent and no sound moves.
  AudioResult Start();

  // A buffer of count bytes in a format; its data starts silent. BadFormat
  // for anything but playable PCM, OutOfMemory above kMaximumSoundBytes.
  std::unique_ptr<SoundBuffer> CreateBuffer(const AudioFormat& format, uint32_t count, AudioResult& result);
  // A buffer on the same data with its own position, volume and pan.
  std::unique_ptr<SoundBuffer> Duplicate(const SoundBuffer& original, AudioResult& result);
  // A streamed sound playing the source's blocks; the source must outlive it.
  std::unique_ptr<SoundBuffer> CreateStream(StreamSource& source);

  // The machine's faders (shared by every mixer of the process).
  static Fader GetFader(FaderKind kind);
  // Sets a present fader's value (clamped to its range); false when absent.
  static bool SetFaderValue(FaderKind kind, uint32_t value);

  // Mixes the next frames of the output (called by the back end).
  void FillAudio(int16_t* samples, uint32_t frames) override;

 private:
  friend class SoundBuffer;
  explicit Audio(std::shared_ptr<Backend> backend);
  // Lets a back end without a device of its own catch up before a change.
  void Service() { backend_->UpdateAudio(); }
  void Attach(SoundBuffer* buffer);
  void Detach(SoundBuffer* buffer);
  void MixChunk(int32_t* mix, uint32_t frames);
  void MixBuffer(SoundBuffer& buffer, int32_t* mix, uint32_t frames, int32_t faderGain);
  // Mixes a streamed sound; answers false when its stream ended.
  bool MixStream(SoundBuffer& buffer, int32_t* mix, uint32_t frames, int32_t faderGain);

  static constexpr uint32_t kChunkFrames = 512;

  std::shared_ptr<Backend> backend_;
  AudioFormat primary_;
  int32_t outputChannels_ = 2;
  uint32_t outputRate_ = 22050;
  bool open_ = false;
  bool started_ = false;
  std::mutex mutex_;
  std::vector<SoundBuffer*> buffers_;
  std::array<int32_t, kChunkFrames * 2> mix_{};
};

}  // namespace platform
