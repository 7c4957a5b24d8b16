#pragma once

#include <cstdint>
#include <memory>

#include "base/tList.h"
#include "platform/Audio.h"
#include "platform/Movie.h"
#include "runtime/Graphics.h"

// One open movie of the movie list; its text is the file name. The video is
// decoded into the display graphic at the movie's rate, timed by the layer's
// clock; the sound plays through the mixer. Each operation takes the name of
// the export that called it, for its messages.
class LumoMovie : public tStrNode {
 public:
  const char* GetClassName() const override { return "LumoMovie"; }
  void Free() override;

  virtual bool Open(const char* caller, const char* name);
  virtual void Close(const char* caller);
  virtual bool SetDisplay(const char* caller, GraphicHandle graphic);
  // Draws the frame that is due into the display graphic; ends playing at
  // the end of the stream.
  virtual void Update(const char* caller);
  // Milliseconds; -1 on failure.
  virtual int32_t GetPosition(const char* caller);
  virtual int32_t SetPosition(const char* caller, int32_t position);
  virtual int32_t GetDuration(const char* caller);
  virtual bool IsPlaying(const char* caller);
  virtual bool Play(const char* caller, int32_t playFlag);
  virtual bool Stop(const char* caller);
  virtual bool Pause(const char* caller);
  virtual bool Resume(const char* caller);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  // The stream's position in units of 100 ns.
  uint64_t StreamTime() const;
  void StartSound();
  void StopRunning();

  std::unique_ptr<platform::Movie> stream_;
  std::unique_ptr<platform::SoundBuffer> sound_;
  GraphicHandle display_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t playFlag_ = 0;
  bool playing_ = false;
  bool running_ = false;        // the stream runs: its time moves with the clock
  uint64_t baseTime_ = 0;       // stream time when it last started or stopped
  uint32_t baseClock_ = 0;      // the clock then (milliseconds)
  int64_t shownFrame_ = -1;     // the frame in the display graphic
};
