#include "platform/Audio.h"

#include "platform/Testing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

// The sample data of a buffer and its duplicates, converted once to signed
// 16-bit samples so that the mixer's inner loop has one sample type.
struct SoundSamples {
  std::vector<int16_t> samples;  // frames × channels, interleaved
  uint32_t frames = 0;
};

namespace {

constexpr uint32_t kFractionBits = 16;
constexpr int32_t kUnityGain = 1 << 16;  // gains are 16.16 fixed point

std::mutex faderMutex;
Fader faders[2];

Fader& FaderOf(FaderKind kind) { return faders[kind == FaderKind::Master ? 0 : 1]; }

// A fader's scale in 16.16; an absent fader (or one without a range) leaves
// the sound as it is.
int32_t FaderGain(const Fader& fader) {
  if (!fader.present || fader.maximum <= fader.minimum) {
    return kUnityGain;
  }
  const uint64_t span = fader.maximum - fader.minimum;
  const uint64_t above = std::min<uint64_t>(fader.value - std::min(fader.value, fader.minimum), span);
  return static_cast<int32_t>((above << 16) / span);
}

// Hundredths of a decibel as a 16.16 gain; -10000 and below are silent.
int32_t DecibelGain(int32_t hundredths) {
  if (hundredths <= kVolumeSilent) {
    return 0;
  }
  if (hundredths >= 0) {
    return kUnityGain;
  }
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, hundredths / 2000.0)));
}

int32_t Scale(int32_t gain, int32_t by) {
  return static_cast<int32_t>((static_cast<int64_t>(gain) * by) >> 16);
}

struct Gains {
  int32_t left;
  int32_t right;
};

// The pan attenuates the far side only, as a stereo balance does.
Gains BufferGains(int32_t volume, int32_t pan, int32_t faderGain) {
  const int32_t gain = Scale(DecibelGain(volume), faderGain);
  return {pan > 0 ? Scale(gain, DecibelGain(-pan)) : gain, pan < 0 ? Scale(gain, DecibelGain(pan)) : gain};
}

// The sample a fraction (16 bits) of the way from one sample to the next. A
// step between two loud samples spans up to 65535, so the product is taken in
// 64 bits: in 32 it overflows for any fraction above one half.
int32_t Interpolate(int16_t here, int16_t next, int64_t fraction) {
  return here + static_cast<int32_t>(((static_cast<int64_t>(next) - here) * fraction) >> 16);
}

// Mixes frames of one source into the mix with linear interpolation between
// neighbouring frames; answers the frames written (fewer when a single play
// ends). SourceChannels and OutputChannels are 1 or 2.
template <int SourceChannels, int OutputChannels>
uint32_t MixFrames(const int16_t* samples, uint32_t sourceFrames, uint64_t& position, uint64_t step,
                   bool looping, Gains gains, int32_t* mix, uint32_t frames) {
  const uint64_t end = static_cast<uint64_t>(sourceFrames) << kFractionBits;
  uint32_t written = 0;
  for (; written < frames; ++written) {
    if (position >= end) {
      if (!looping) {
        break;
      }
      position %= end;
    }
    const uint32_t index = static_cast<uint32_t>(position >> kFractionBits);
    uint32_t nextIndex = index + 1;
    if (nextIndex >= sourceFrames) {
      nextIndex = looping ? 0 : index;
    }
    const int64_t fraction = static_cast<int64_t>(position & 0xFFFF);
    const int16_t* here = samples + static_cast<size_t>(index) * SourceChannels;
    const int16_t* next = samples + static_cast<size_t>(nextIndex) * SourceChannels;
    const int32_t left = Interpolate(here[0], next[0], fraction);
    int32_t right = left;
    if constexpr (SourceChannels == 2) {
      right = Interpolate(here[1], next[1], fraction);
    }
    const int32_t leftOut = (left * gains.left) >> 16;
    const int32_t rightOut = (right * gains.right) >> 16;
    if constexpr (OutputChannels == 2) {
      mix[written * 2] += leftOut;
      mix[written * 2 + 1] += rightOut;
    } else {
      mix[written] += (leftOut + rightOut) / 2;
    }
    position += step;
  }
  return written;
}

using MixFunction = uint32_t (*)(const int16_t*, uint32_t, uint64_t&, uint64_t, bool, Gains, int32_t*, uint32_t);

MixFunction ChooseMix(int sourceChannels, int outputChannels) {
  if (sourceChannels == 1) {
    return outputChannels == 1 ? MixFrames<1, 1> : MixFrames<1, 2>;
  }
  return outputChannels == 1 ? MixFrames<2, 1> : MixFrames<2, 2>;
}

int16_t Clip(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

AudioFormat PcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample) {
  AudioFormat format;
  format.formatTag = kWaveFormatPcm;
  format.channels = channels;
  format.samplesPerSecond = samplesPerSecond;
  format.bitsPerSample = bitsPerSample;
  // Both counts may come from an unchecked file header: the product is taken
  // in 32 bits, where two 16-bit values cannot overflow.
  format.blockAlign = static_cast<uint16_t>(uint32_t{channels} * bitsPerSample / 8);
  format.averageBytesPerSecond = samplesPerSecond * format.blockAlign;
  return format;
}

bool IsPlayablePcm(const AudioFormat& format) {
  return format.formatTag == kWaveFormatPcm && (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.samplesPerSecond >= 100 &&
         format.samplesPerSecond <= 192000;
}

// ---- Sound buffers ----

SoundBuffer::SoundBuffer(std::shared_ptr<Audio> mixer, const AudioFormat& format, uint32_t size,
                         std::shared_ptr<SoundSamples> data)
    : mixer_(std::move(mixer)), format_(format), size_(size), data_(std::move(data)) {}

SoundBuffer::~SoundBuffer() { mixer_->Detach(this); }

AudioResult SoundBuffer::Fill(const uint8_t* data, uint32_t count) {
  if ((data == nullptr && count > 0) || stream_) {
    return AudioResult::InvalidParameters;
  }
  const uint32_t bytesPerSample = format_.bitsPerSample / 8;
  const uint32_t usable = std::min(count, size_) / bytesPerSample;
  std::lock_guard lock(mixer_->mutex_);
  std::vector<int16_t>& samples = data_->samples;
  for (uint32_t at = 0; at < usable; ++at) {
    if (bytesPerSample == 1) {
      samples[at] = static_cast<int16_t>((data[at] - 128) * 256);
    } else {
      samples[at] = static_cast<int16_t>(data[at * 2] | (data[at * 2 + 1] << 8));
    }
  }
  return AudioResult::Ok;
}

AudioResult SoundBuffer::Play(bool looping) {
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  playing_ = true;
  looping_ = looping;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::Stop() {
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  playing_ = false;
  startPending_ = false;
  return AudioResult::Ok;
}

bool SoundBuffer::IsPlaying() {
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  return playing_ || startPending_;
}

AudioResult SoundBuffer::GetPosition(uint32_t& bytes) {
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  bytes = static_cast<uint32_t>(position_ >> kFractionBits) * format_.blockAlign;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::SetPosition(uint32_t bytes) {
  if (bytes > size_ || stream_) {
    return AudioResult::InvalidParameters;
  }
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  position_ = static_cast<uint64_t>(bytes / format_.blockAlign) << kFractionBits;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::SetVolume(int32_t volume) {
  if (volume < kVolumeSilent || volume > kVolumeFull) {
    return AudioResult::InvalidParameters;
  }
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  volume_ = volume;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::GetVolume(int32_t& volume) {
  std::lock_guard lock(mixer_->mutex_);
  volume = volume_;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::SetPan(int32_t pan) {
  if (pan < kPanLeft || pan > kPanRight) {
    return AudioResult::InvalidParameters;
  }
  mixer_->Service();
  std::lock_guard lock(mixer_->mutex_);
  pan_ = pan;
  return AudioResult::Ok;
}

AudioResult SoundBuffer::GetPan(int32_t& pan) {
  std::lock_guard lock(mixer_->mutex_);
  pan = pan_;
  return AudioResult::Ok;
}

void SoundBuffer::SetFaderGroup(FaderKind kind) {
  std::lock_guard lock(mixer_->mutex_);
  faderGroup_ = kind;
}

void SoundBuffer::SetFollower(SoundBuffer* follower) {
  std::lock_guard lock(mixer_->mutex_);
  follower_ = follower != nullptr && follower->mixer_ == mixer_ && follower != this ? follower : nullptr;
}

// ---- The mixer ----

Audio::Audio(std::shared_ptr<Backend> backend) : backend_(std::move(backend)) {}

std::shared_ptr<Audio> Audio::Create(Backend& backend, AudioResult& result) {
  std::shared_ptr<Audio> audio(new Audio(backend.shared_from_this()));
  AudioOutputSpec spec;
  if (!backend.OpenAudio(spec, *audio)) {
    result = AudioResult::NoDriver;
    return nullptr;
  }
  audio->open_ = true;
  audio->outputRate_ = static_cast<uint32_t>(spec.samplesPerSecond);
  audio->outputChannels_ = spec.channels;
  audio->primary_ = PcmFormat(static_cast<uint16_t>(spec.channels), audio->outputRate_, 16);
  result = AudioResult::Ok;
  return audio;
}

Audio::~Audio() {
  if (open_) {
    backend_->CloseAudio();
  }
}

AudioResult Audio::SetPrimaryFormat(const AudioFormat& format) {
  if (!IsPlayablePcm(format)) {
    return AudioResult::BadFormat;
  }
  AudioOutputSpec spec;
  spec.samplesPerSecond = static_cast<int32_t>(format.samplesPerSecond);
  spec.channels = format.channels;
  backend_->CloseAudio();
  open_ = backend_->OpenAudio(spec, *this);
  if (!open_) {
    return AudioResult::NoDriver;
  }
  std::lock_guard lock(mutex_);
  outputRate_ = static_cast<uint32_t>(spec.samplesPerSecond);
  outputChannels_ = spec.channels;
  primary_ = format;
  return AudioResult::Ok;
}

AudioResult Audio::Start() {
  if (!open_) {
    return AudioResult::NotInitialized;
  }
  std::lock_guard lock(mutex_);
  started_ = true;
  return AudioResult::Ok;
}

std::unique_ptr<SoundBuffer> Audio::CreateBuffer(const AudioFormat& format, uint32_t count,
                                                 AudioResult& result) {
  if (!IsPlayablePcm(format) || format.blockAlign != format.channels * format.bitsPerSample / 8) {
    result = AudioResult::BadFormat;
    return nullptr;
  }
  if (count > kMaximumSoundBytes) {
    result = AudioResult::OutOfMemory;
    return nullptr;
  }
  auto data = std::make_shared<SoundSamples>();
  data->frames = count / format.blockAlign;
  data->samples.assign(static_cast<size_t>(data->frames) * format.channels, 0);
  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(shared_from_this(), format, count, std::move(data)));
  Attach(buffer.get());
  result = AudioResult::Ok;
  return buffer;
}

std::unique_ptr<SoundBuffer> Audio::Duplicate(const SoundBuffer& original, AudioResult& result) {
  if (original.mixer_.get() != this || original.stream_) {
    result = AudioResult::InvalidParameters;
    return nullptr;
  }
  std::unique_ptr<SoundBuffer> buffer(
      new SoundBuffer(shared_from_this(), original.format_, original.size_, original.data_));
  {
    std::lock_guard lock(mutex_);
    buffer->volume_ = original.volume_;
    buffer->pan_ = original.pan_;
    buffer->faderGroup_ = original.faderGroup_;
  }
  Attach(buffer.get());
  result = AudioResult::Ok;
  return buffer;
}

std::unique_ptr<SoundBuffer> Audio::CreateStream(StreamSource& source) {
  std::unique_ptr<SoundBuffer> buffer(
      new SoundBuffer(shared_from_this(), primary_, 0, std::make_shared<SoundSamples>()));
  buffer->stream_ = std::make_unique<SoundBuffer::Stream>();
  buffer->stream_->source = &source;
  Attach(buffer.get());
  return buffer;
}

void Audio::Attach(SoundBuffer* buffer) {
  std::lock_guard lock(mutex_);
  buffers_.push_back(buffer);
}

void Audio::Detach(SoundBuffer* buffer) {
  std::lock_guard lock(mutex_);
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
  for (SoundBuffer* other : buffers_) {
    if (other->follower_ == buffer) {
      other->follower_ = nullptr;
    }
  }
}

Fader Audio::GetFader(FaderKind kind) {
  std::lock_guard lock(faderMutex);
  return FaderOf(kind);
}

bool Audio::SetFaderValue(FaderKind kind, uint32_t value) {
  std::lock_guard lock(faderMutex);
  Fader& fader = FaderOf(kind);
  if (!fader.present) {
    return false;
  }
  fader.value = std::clamp(value, fader.minimum, std::max(fader.minimum, fader.maximum));
  return true;
}

void Audio::FillAudio(int16_t* samples, uint32_t frames) {
  int32_t masterGain = kUnityGain;
  int32_t cdGain = kUnityGain;
  {
    std::lock_guard lock(faderMutex);
    masterGain = FaderGain(FaderOf(FaderKind::Master));
    cdGain = FaderGain(FaderOf(FaderKind::CdAudio));
  }
  std::lock_guard lock(mutex_);
  const uint32_t channels = static_cast<uint32_t>(outputChannels_);
  if (!started_) {
    std::memset(samples, 0, sizeof(int16_t) * frames * channels);
    return;
  }
  while (frames > 0) {
    const uint32_t chunk = std::min(frames, kChunkFrames);
    std::fill(mix_.begin(), mix_.begin() + chunk * channels, 0);
    // Followers of sounds that ended start with a chunk of their own, so that
    // none is heard twice or late within one chunk.
    for (SoundBuffer* buffer : buffers_) {
      if (buffer->startPending_) {
        buffer->startPending_ = false;
        buffer->playing_ = true;
        buffer->looping_ = false;
      }
    }
    for (size_t at = 0; at < buffers_.size(); ++at) {
      SoundBuffer& buffer = *buffers_[at];
      MixBuffer(buffer, mix_.data(), chunk, buffer.faderGroup_ == FaderKind::CdAudio ? cdGain : kUnityGain);
    }
    for (uint32_t at = 0; at < chunk * channels; ++at) {
      samples[at] = Clip(Scale(mix_[at], masterGain));
    }
    samples += chunk * channels;
    frames -= chunk;
  }
}

void Audio::MixBuffer(SoundBuffer& buffer, int32_t* mix, uint32_t frames, int32_t faderGain) {
  if (!buffer.playing_) {
    return;
  }
  if (buffer.stream_) {
    if (!MixStream(buffer, mix, frames, faderGain)) {
      buffer.playing_ = false;
    }
    return;
  }
  if (buffer.data_->frames == 0) {
    return;
  }
  const uint64_t step = (static_cast<uint64_t>(buffer.format_.samplesPerSecond) << kFractionBits) / outputRate_;
  const MixFunction mixFrames = ChooseMix(buffer.format_.channels, outputChannels_);
  const uint32_t written = mixFrames(buffer.data_->samples.data(), buffer.data_->frames, buffer.position_, step,
                                     buffer.looping_, BufferGains(buffer.volume_, buffer.pan_, faderGain), mix,
                                     frames);
  if (written == frames) {
    return;
  }
  // A single play ended: back to the start, so that the next play is heard,
  // and on to the follower for the rest of this chunk.
  buffer.playing_ = false;
  buffer.position_ = 0;
  SoundBuffer* follower = buffer.follower_;
  if (follower != nullptr && !follower->playing_) {
    follower->startPending_ = true;
  }
}

bool Audio::MixStream(SoundBuffer& buffer, int32_t* mix, uint32_t frames, int32_t faderGain) {
  SoundBuffer::Stream& stream = *buffer.stream_;
  const Gains gains = BufferGains(buffer.volume_, buffer.pan_, faderGain);
  uint32_t done = 0;
  while (done < frames) {
    StreamBlock& block = stream.block;
    const uint64_t end = static_cast<uint64_t>(block.frames) << kFractionBits;
    if (buffer.position_ >= end) {
      // The block is played: the next one goes on from the same fraction of
      // a frame, so blocks (and tracks) join without a gap.
      buffer.position_ -= end;
      bool ended = false;
      if (stream.ended || !stream.source->NextBlock(block, ended)) {
        block.frames = 0;
        stream.ended = stream.ended || ended;
        buffer.position_ = 0;
        // An empty source leaves the rest of the chunk silent and tries again
        // at the next one.
        return !stream.ended;
      }
      const size_t needed = static_cast<size_t>(block.frames) * block.channels;
      if (block.channels < 1 || block.channels > 2 || block.samples.size() < needed ||
          block.samplesPerSecond == 0) {
        block.frames = 0;
      }
      continue;
    }
    const uint64_t step = (static_cast<uint64_t>(block.samplesPerSecond) << kFractionBits) / outputRate_;
    const MixFunction mixFrames = ChooseMix(block.channels, outputChannels_);
    done += mixFrames(block.samples.data(), block.frames, buffer.position_, step, false, gains,
                      mix + static_cast<size_t>(done) * static_cast<uint32_t>(outputChannels_), frames - done);
  }
  return true;
}

namespace testing {

void SetAudioFader(FaderKind kind, const Fader& fader) {
  std::lock_guard lock(faderMutex);
  FaderOf(kind) = fader;
}

}  // namespace testing
}  // namespace platform
