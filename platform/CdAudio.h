#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace platform {

// ---- CD audio ----

// What a CD-audio operation answers; CdErrorText gives its wording.
enum class CdResult : uint32_t {
  Ok = 0,
  NoDisc = 0x114,          // no disc folder, or no track in it
  BadTrack = 0x11A,        // a track number outside the disc, or a data track
  TrackUnreadable = 0x115, // an audio track file that cannot be read or played
  NoOutput = 0x11E,        // no mixer to play through
};

const char* CdErrorText(CdResult result);

// The "disc" is a folder of track files "track01.wav", "track02.wav", ...
// (names compared case-insensitively); a track file with another extension
// ("track01.dat") is a data track. The tracks are numbered from 1 without a
// gap: the first missing number ends the disc. Audio tracks play through the
// mixer, scaled by its CD-audio fader, one after another up to the last track
// asked for, without a gap between them and without anyone polling.
//
// Track files are streamed: a reader thread of the player reads and converts
// them a piece at a time, a short way ahead of the mixer, so no call on the
// game thread waits for a file (Play reads only the first track's header).
// When the reader falls behind, the mixer reads the piece it needs itself.
class CdStream;

class CdAudio {
 public:
  // Reads the disc's track list; null (NoDisc) without a folder or tracks.
  // The mixer may be null: the disc can then be counted but not played.
  static std::unique_ptr<CdAudio> Open(Audio* mixer, const std::string& folder, CdResult& result);
  ~CdAudio();
  CdAudio(const CdAudio&) = delete;
  CdAudio& operator=(const CdAudio&) = delete;

  uint32_t TrackCount() const { return static_cast<uint32_t>(tracks_.size()); }
  // False outside 1..TrackCount.
  bool IsAudioTrack(uint32_t track) const;
  // Milliseconds of an audio track; 0 for a data track or outside the disc.
  uint32_t TrackLength(uint32_t track) const;

  // Plays the audio tracks from first to last (disc numbers, both included;
  // a last of 0 or beyond the disc plays to the end) from their starts. A
  // later track of the range that cannot be read is passed over.
  CdResult Play(uint32_t firstTrack, uint32_t lastTrack);
  // Stops and forgets the position.
  CdResult Stop();
  CdResult Pause();
  // Plays on from where Pause left; NoDisc when nothing was playing.
  CdResult Resume();
  bool IsPlaying();
  // The disc number of the track playing or paused; 0 when stopped or done.
  uint32_t CurrentTrack();

  // One track as read from the disc.
  struct Track {
    bool audio = false;
    std::string path;              // the track file (empty for a test track)
    AudioFormat format;
    std::vector<uint8_t> samples;  // a test track's data; files are streamed when played
    uint32_t dataSize = 0;         // bytes of samples
  };

 private:
  CdAudio(Audio* mixer, std::vector<Track> tracks);

  Audio* mixer_;
  std::vector<Track> tracks_;
  bool paused_ = false;
  // The sound is released before the stream it plays.
  std::unique_ptr<CdStream> stream_;
  std::unique_ptr<SoundBuffer> sound_;
};

}  // namespace platform
