#include "platform/CdAudio.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/CdTrackFile.h"
#include "platform/FileSystem.h"
#include "platform/Testing.h"

namespace platform {
namespace {

std::mutex testDiscMutex;
std::vector<testing::CdTestTrack> testDisc;

// The track number of a file name "trackNN.ext" (any case); 0 for any other
// name. The extension decides whether the track holds audio.
uint32_t TrackNumberOf(const std::string& name, bool& audio) {
  if (name.size() < 9 || !SameNameNoCase(name.substr(0, 5), "track") || name[7] != '.' ||
      name[5] < '0' || name[5] > '9' || name[6] < '0' || name[6] > '9') {
    return 0;
  }
  audio = SameNameNoCase(name.substr(8), "wav");
  return static_cast<uint32_t>((name[5] - '0') * 10 + (name[6] - '0'));
}

// The format and sample size of a track file, for the track's length.
void ReadTrackFileHeader(CdAudio::Track& track) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(track.path.c_str(), "rb"), &std::fclose);
  CdTrackHeader header;
  if (file && ReadCdTrackHeader(file.get(), header)) {
    track.format = header.format;
    track.dataSize = header.dataSize;
  }
}

// Opens a track of the disc for reading; false when it cannot be played.
bool OpenTrack(const CdAudio::Track& track, CdTrackReader& reader) {
  if (track.path.empty()) {
    return reader.OpenMemory(track.format, track.samples.data(), track.dataSize);
  }
  return reader.OpenFile(track.path);
}

// The tracks of a disc folder, numbered from 1 up to the first missing one.
std::vector<CdAudio::Track> ReadDiscFolder(const std::string& folder) {
  std::map<uint32_t, CdAudio::Track> found;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    bool audio = false;
    const uint32_t number = TrackNumberOf(entry->path().filename().string(), audio);
    if (number == 0 || found.count(number) != 0) {
      continue;
    }
    CdAudio::Track track;
    track.audio = audio;
    track.path = entry->path().string();
    // An audio track file that cannot be read still counts; it fails when played.
    if (audio) {
      ReadTrackFileHeader(track);
    }
    found.emplace(number, std::move(track));
  }
  std::vector<CdAudio::Track> tracks;
  for (uint32_t number = 1; found.count(number) != 0; ++number) {
    tracks.push_back(std::move(found[number]));
  }
  return tracks;
}

std::vector<CdAudio::Track> ReadTestDisc() {
  std::lock_guard lock(testDiscMutex);
  std::vector<CdAudio::Track> tracks;
  for (const testing::CdTestTrack& test : testDisc) {
    CdAudio::Track track;
    track.audio = test.audio;
    track.format = test.format;
    track.samples = test.data;
    track.dataSize = static_cast<uint32_t>(test.data.size());
    tracks.push_back(std::move(track));
  }
  return tracks;
}

}  // namespace

// ---- The stream of a range of tracks ----

// Plays the tracks of a range one after another as one stream of blocks. A
// reader thread keeps a few blocks ready ahead of the mixer; when the mixer
// finds none ready, it reads the next piece itself. Reads happen under one
// lock and in order, so the blocks come out in order whoever reads them.
class CdStream final : public StreamSource {
 public:
  // The first track is open already; the others are opened as the stream
  // reaches them.
  CdStream(const std::vector<CdAudio::Track>& tracks, uint32_t firstTrack, CdTrackReader first,
           std::vector<uint32_t> following)
      : tracks_(tracks),
        following_(std::move(following)),
        reader_(std::move(first)),
        readerTrack_(firstTrack),
        playingTrack_(firstTrack) {
    thread_ = std::thread([this] { ReadAhead(); });
  }

  ~CdStream() {
    {
      std::lock_guard lock(queueMutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  CdStream(const CdStream&) = delete;
  CdStream& operator=(const CdStream&) = delete;

  // The track of the block the mixer plays; 0 once the stream has ended.
  uint32_t PlayingTrack() const { return playingTrack_.load(); }

  bool NextBlock(StreamBlock& block, bool& ended) override {
    if (TakeReady(block, ended) || ended) {
      return !ended;
    }
    // Nothing ready: read the next piece here, after any read under way.
    std::lock_guard file(fileMutex_);
    if (TakeReady(block, ended) || ended) {
      return !ended;
    }
    if (ReadBlock(block)) {
      playingTrack_ = block.tag;
      return true;
    }
    Finish();
    playingTrack_ = 0;
    ended = true;
    return false;
  }

 private:
  // Blocks of this many frames; a few of them are kept ready.
  static constexpr uint32_t kPieceFrames = 4096;
  static constexpr size_t kReadyBlocks = 8;

  // Takes the first ready block; false when there is none, with ended set
  // when none will come.
  bool TakeReady(StreamBlock& block, bool& ended) {
    std::lock_guard lock(queueMutex_);
    if (ready_.empty()) {
      ended = finished_;
      if (ended) {
        playingTrack_ = 0;
      }
      return false;
    }
    std::swap(block, ready_.front());
    // The played block's samples are kept for the reader to fill again.
    spare_.push_back(std::move(ready_.front()));
    ready_.pop_front();
    playingTrack_ = block.tag;
    wake_.notify_all();
    return true;
  }

  // The reader reached the end of the range; the mixer may still play the
  // blocks read before.
  void Finish() {
    {
      std::lock_guard lock(queueMutex_);
      finished_ = true;
    }
    wake_.notify_all();
  }

  // The next piece of the range, moving on to the next readable track at the
  // end of one; false at the end of the range. Called with fileMutex_ held.
  bool ReadBlock(StreamBlock& block) {
    for (;;) {
      if (reader_.ReadPiece(kPieceFrames, block)) {
        block.tag = readerTrack_;
        return true;
      }
      if (!OpenNextTrack()) {
        return false;
      }
    }
  }

  bool OpenNextTrack() {
    while (nextTrack_ < following_.size()) {
      const uint32_t number = following_[nextTrack_++];
      if (OpenTrack(tracks_[number - 1], reader_)) {
        readerTrack_ = number;
        return true;
      }
    }
    return false;
  }

  void ReadAhead() {
    for (;;) {
      StreamBlock block;
      {
        std::unique_lock lock(queueMutex_);
        wake_.wait(lock, [this] { return stopping_ || finished_ || ready_.size() < kReadyBlocks; });
        if (stopping_ || finished_) {
          return;
        }
        if (!spare_.empty()) {
          block = std::move(spare_.back());
          spare_.pop_back();
        }
      }
      std::lock_guard file(fileMutex_);
      if (!ReadBlock(block)) {
        Finish();
        return;
      }
      std::lock_guard lock(queueMutex_);
      ready_.push_back(std::move(block));
    }
  }

  const std::vector<CdAudio::Track>& tracks_;
  const std::vector<uint32_t> following_;  // the audio tracks after the first, in order

  // Guards the reading of the tracks (fileMutex_ is taken before queueMutex_).
  std::mutex fileMutex_;
  CdTrackReader reader_;
  uint32_t readerTrack_;
  size_t nextTrack_ = 0;

  std::mutex queueMutex_;
  std::condition_variable wake_;
  std::deque<StreamBlock> ready_;
  std::vector<StreamBlock> spare_;
  bool finished_ = false;  // the reader reached the end of the range
  bool stopping_ = false;
  std::atomic<uint32_t> playingTrack_;

  std::thread thread_;
};

const char* CdErrorText(CdResult result) {
  switch (result) {
    case CdResult::Ok:
      return "The operation succeeded";
    case CdResult::NoDisc:
      return "The device is not ready: there is no disc";
    case CdResult::BadTrack:
      return "The track is not an audio track of the disc";
    case CdResult::TrackUnreadable:
      return "The audio track cannot be read";
    case CdResult::NoOutput:
      return "There is no audio output to play through";
  }
  return "Unknown CD-audio failure";
}

std::unique_ptr<CdAudio> CdAudio::Open(Audio* mixer, const std::string& folder, CdResult& result) {
  std::vector<Track> tracks = ReadTestDisc();
  if (tracks.empty() && !folder.empty()) {
    tracks = ReadDiscFolder(folder);
  }
  if (tracks.empty()) {
    result = CdResult::NoDisc;
    return nullptr;
  }
  result = CdResult::Ok;
  return std::unique_ptr<CdAudio>(new CdAudio(mixer, std::move(tracks)));
}

CdAudio::CdAudio(Audio* mixer, std::vector<Track> tracks) : mixer_(mixer), tracks_(std::move(tracks)) {}

CdAudio::~CdAudio() { Stop(); }

bool CdAudio::IsAudioTrack(uint32_t track) const {
  return track >= 1 && track <= tracks_.size() && tracks_[track - 1].audio;
}

uint32_t CdAudio::TrackLength(uint32_t track) const {
  if (!IsAudioTrack(track)) {
    return 0;
  }
  const Track& entry = tracks_[track - 1];
  if (entry.format.averageBytesPerSecond == 0) {
    return 0;
  }
  return static_cast<uint32_t>(static_cast<uint64_t>(entry.dataSize) * 1000 / entry.format.averageBytesPerSecond);
}

CdResult CdAudio::Play(uint32_t firstTrack, uint32_t lastTrack) {
  if (mixer_ == nullptr) {
    return CdResult::NoOutput;
  }
  if (!IsAudioTrack(firstTrack)) {
    return CdResult::BadTrack;
  }
  Stop();
  const uint32_t last = lastTrack == 0 || lastTrack > TrackCount() ? TrackCount() : std::max(lastTrack, firstTrack);
  CdTrackReader reader;
  if (!OpenTrack(tracks_[firstTrack - 1], reader)) {
    return CdResult::TrackUnreadable;
  }
  std::vector<uint32_t> following;
  for (uint32_t track = firstTrack + 1; track <= last; ++track) {
    if (IsAudioTrack(track)) {
      following.push_back(track);
    }
  }
  stream_ = std::make_unique<CdStream>(tracks_, firstTrack, std::move(reader), std::move(following));
  sound_ = mixer_->CreateStream(*stream_);
  sound_->SetFaderGroup(FaderKind::CdAudio);
  sound_->Play(false);
  return CdResult::Ok;
}

CdResult CdAudio::Stop() {
  // The mixer lets go of the stream before its reader stops.
  sound_.reset();
  stream_.reset();
  paused_ = false;
  return CdResult::Ok;
}

CdResult CdAudio::Pause() {
  if (sound_ && !paused_ && sound_->IsPlaying()) {
    sound_->Stop();
    paused_ = true;
  }
  return CdResult::Ok;
}

CdResult CdAudio::Resume() {
  if (!sound_ || (!paused_ && !sound_->IsPlaying())) {
    return CdResult::NoDisc;
  }
  paused_ = false;
  sound_->Play(false);
  return CdResult::Ok;
}

bool CdAudio::IsPlaying() { return sound_ && !paused_ && sound_->IsPlaying(); }

uint32_t CdAudio::CurrentTrack() {
  if (!sound_ || (!paused_ && !sound_->IsPlaying())) {
    return 0;
  }
  return stream_->PlayingTrack();
}

namespace testing {

void AddCdTrack(const CdTestTrack& track) {
  std::lock_guard lock(testDiscMutex);
  testDisc.push_back(track);
}

void ClearCdTracks() {
  std::lock_guard lock(testDiscMutex);
  testDisc.clear();
}

}  // namespace testing
}  // namespace platform
