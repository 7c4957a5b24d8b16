#include "runtime/LumoMovie.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/DebugFormat.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "runtime/Sounds.h"

namespace {

// Result codes of the movie stream, as the log shows them.
constexpr uint32_t kMovieFileNotFound = 0x80070002;
constexpr uint32_t kMovieUnsupported = 0x80040265;  // content the layer does not play
constexpr uint32_t kMovieOutOfRange = 0x80070057;

constexpr uint64_t kTicksPerMillisecond = 10000;  // stream time is in 100 ns

const char* NameOf(const tStrNode& node) { return node.text != nullptr ? node.text : ""; }

}  // namespace

void LumoMovie::Free() {
  sound_.reset();
  stream_.reset();
  display_ = nullptr;
  tStrNode::Free();
}

bool LumoMovie::Open(const char* caller, const char* name) {
  if (name == nullptr) {
    DebugPrint("%s NULL pointer to the name specified\n", caller);
    return false;
  }
  SetText(name);
  if (text == nullptr) {
    DebugPrint("%s Cannot set the movie name (Name=%s)\n", caller, name);
    return false;
  }
  const std::optional<std::string> path = platform::MapFileName(name);
  std::string failure = "the name cannot be mapped to a file";
  if (path) {
    stream_ = platform::Movie::Open(*path, failure);
  }
  if (!stream_) {
    const bool missing = !path || failure == "the file cannot be opened";
    DebugPrint("%s Cannot open the movie (Name=%s, Error=%X)\n", caller, name,
               missing ? kMovieFileNotFound : kMovieUnsupported);
    DebugPrint("%s The movie cannot be played: %s (Name=%s)\n", caller, failure.c_str(), name);
    return false;
  }
  width_ = stream_->Width();
  height_ = stream_->Height();
  // Without a mixer (sound disabled) the movie plays silently.
  platform::Audio* mixer = SoundMixer();
  if (stream_->HasSound() && mixer != nullptr) {
    platform::AudioResult result = platform::AudioResult::Ok;
    const std::vector<uint8_t>& samples = stream_->SoundData();
    sound_ = mixer->CreateBuffer(stream_->SoundFormat(), static_cast<uint32_t>(samples.size()), result);
    if (sound_) {
      result = sound_->Fill(samples.data(), static_cast<uint32_t>(samples.size()));
    }
    if (result != platform::AudioResult::Ok) {
      DebugPrint("%s Cannot add primary audio to the movie (Name=%s, Error=%X)\n", caller, name,
                 platform::ResultCode(result));
      return false;
    }
  }
  DebugPrint("%s Movie opened (Name=%s, Width=%i, Height=%i, Duration=%i)\n", caller, name, width_, height_,
             GetDuration(caller));
  return true;
}

void LumoMovie::Close(const char* caller) {
  DebugPrint("%s Movie closed (Name=%s)\n", caller, NameOf(*this));
  sound_.reset();
  stream_.reset();
  running_ = false;
  playing_ = false;
}

bool LumoMovie::SetDisplay(const char* caller, GraphicHandle graphic) {
  if (graphic == nullptr) {
    DebugPrint("%s NULL pointer to the display specified (Name=%s)\n", caller, NameOf(*this));
    return false;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  if (width != width_ || height != height_) {
    DebugPrint("%s The graphic has not the required size (Movie=%s:%i*%i, Graphic=%i*%i)\n", caller, NameOf(*this),
               width_, height_, width, height);
    return false;
  }
  display_ = graphic;
  shownFrame_ = -1;
  return true;
}

uint64_t LumoMovie::StreamTime() const {
  if (!running_) {
    return baseTime_;
  }
  const uint32_t elapsed = platform::UpTimeMilliseconds() - baseClock_;
  return baseTime_ + static_cast<uint64_t>(elapsed) * kTicksPerMillisecond;
}

void LumoMovie::StopRunning() {
  baseTime_ = std::min(StreamTime(), stream_ ? stream_->Duration() : 0);
  running_ = false;
  playing_ = false;
  if (sound_) {
    sound_->Stop();
  }
}

// Only a new frame is drawn; until one is due the graphic keeps the frame it
// has and the movie keeps playing. The end of the stream ends playing.
void LumoMovie::Update(const char* caller) {
  if (!running_ || !stream_ || display_ == nullptr) {
    return;
  }
  const uint64_t frame = stream_->FrameAt(StreamTime());
  if (frame >= stream_->FrameCount()) {
    StopRunning();
    return;
  }
  if (static_cast<int64_t>(frame) == shownFrame_) {
    return;
  }
  const platform::SurfaceResult result = stream_->ReadFrame(static_cast<uint32_t>(frame), *SurfaceOf(display_));
  if (result != platform::SurfaceResult::Ok) {
    DebugPrint("%s Cannot update the movie (Name=%s, Error=%X)\n", caller, NameOf(*this),
               platform::ResultCode(result));
    StopRunning();
    return;
  }
  shownFrame_ = static_cast<int64_t>(frame);
}

int32_t LumoMovie::GetPosition(const char* /*caller*/) {
  const uint64_t duration = stream_ ? stream_->Duration() : 0;
  return static_cast<int32_t>(std::min(StreamTime(), duration) / kTicksPerMillisecond);
}

int32_t LumoMovie::SetPosition(const char* caller, int32_t position) {
  if (!stream_ || position < 0 || static_cast<uint64_t>(position) * kTicksPerMillisecond > stream_->Duration()) {
    DebugPrint("%s Cannot set the position (Name=%s, Position=%i, Error=%X)\n", caller, NameOf(*this), position,
               kMovieOutOfRange);
    return -1;
  }
  baseTime_ = static_cast<uint64_t>(position) * kTicksPerMillisecond;
  baseClock_ = platform::UpTimeMilliseconds();
  shownFrame_ = -1;
  if (sound_) {
    const platform::AudioFormat& format = sound_->Format();
    const uint64_t bytes = static_cast<uint64_t>(position) * format.averageBytesPerSecond / 1000;
    sound_->SetPosition(static_cast<uint32_t>(std::min<uint64_t>(bytes - bytes % format.blockAlign, sound_->Size())));
  }
  return position;
}

int32_t LumoMovie::GetDuration(const char* /*caller*/) {
  return stream_ ? static_cast<int32_t>(stream_->Duration() / kTicksPerMillisecond) : 0;
}

bool LumoMovie::IsPlaying(const char* /*caller*/) {
  if (running_ && stream_ && StreamTime() >= stream_->Duration()) {
    StopRunning();
  }
  if (!playing_ && running_) {
    playing_ = true;
  }
  return playing_;
}

bool LumoMovie::Play(const char* caller, int32_t playFlag) {
  playFlag_ = playFlag;
  return Resume(caller);
}

void LumoMovie::StartSound() {
  if (!sound_) {
    return;
  }
  const platform::AudioFormat& format = sound_->Format();
  const uint64_t bytes = baseTime_ / kTicksPerMillisecond * format.averageBytesPerSecond / 1000;
  if (bytes < sound_->Size()) {
    sound_->SetPosition(static_cast<uint32_t>(bytes - bytes % format.blockAlign));
    sound_->Play(false);
  }
}

bool LumoMovie::Resume(const char* caller) {
  if (display_ == nullptr) {
    DebugPrint("%s No display attached to the movie (Name=%s)\n", caller, NameOf(*this));
    return false;
  }
  if (playing_) {
    DebugPrint("%s Movie already playing (Name=%s)\n", caller, NameOf(*this));
    return playing_;
  }
  if (playFlag_ == 0 || !stream_) {
    return playing_;
  }
  baseClock_ = platform::UpTimeMilliseconds();
  running_ = true;
  playing_ = true;
  StartSound();
  return playing_;
}

bool LumoMovie::Pause(const char* /*caller*/) {
  if (running_) {
    baseTime_ = StreamTime();
  }
  running_ = false;
  playing_ = false;
  if (sound_) {
    sound_->Stop();
  }
  return true;
}

bool LumoMovie::Stop(const char* caller) {
  Pause(caller);
  baseTime_ = 0;
  shownFrame_ = -1;
  if (sound_) {
    sound_->SetPosition(0);
  }
  return true;
}
