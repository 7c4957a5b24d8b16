#include "platform/CdAudio.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/Testing.h"
#include "platform/FileSystem.h"
#include "platform/WaveFile.h"

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

// Reads a whole file of at most limit bytes.
bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > limit) {
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  const size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return read == bytes.size();
}

// Reads the chunk headers of a track file (not its samples) for the format
// and the size of its sample data; false when it is no readable WAVE file.
bool ReadTrackHeader(CdAudio::Track& track) {
  std::FILE* file = std::fopen(track.path.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  uint8_t header[12];
  bool haveFormat = false;
  bool haveData = false;
  if (std::fread(header, 1, sizeof header, file) == sizeof header && ReadLittle32(header) == FourCC("RIFF") &&
      ReadLittle32(header + 8) == FourCC("WAVE")) {
    uint8_t chunk[8];
    while (!haveData && std::fread(chunk, 1, sizeof chunk, file) == sizeof chunk) {
      const uint32_t size = ReadLittle32(chunk + 4);
      if (ReadLittle32(chunk) == FourCC("data")) {
        track.dataSize = size;
        haveData = true;
        break;
      }
      uint8_t format[16];
      if (ReadLittle32(chunk) == FourCC("fmt ") && size >= sizeof format &&
          std::fread(format, 1, sizeof format, file) == sizeof format) {
        track.format = PcmFormat(ReadLittle16(format + 2), ReadLittle32(format + 4), ReadLittle16(format + 14));
        track.format.formatTag = ReadLittle16(format);
        haveFormat = true;
        if (std::fseek(file, static_cast<long>(size - sizeof format + (size & 1)), SEEK_CUR) != 0) {
          break;
        }
        continue;
      }
      if (std::fseek(file, static_cast<long>(size) + static_cast<long>(size & 1), SEEK_CUR) != 0) {
        break;
      }
    }
  }
  std::fclose(file);
  return haveFormat && haveData && IsPlayablePcm(track.format);
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
    if (audio && !ReadTrackHeader(track)) {
      track.dataSize = 0;
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

uint32_t CdAudio::NextAudioTrack(uint32_t after) const {
  for (uint32_t track = after + 1; track <= lastTrack_; ++track) {
    if (IsAudioTrack(track)) {
      return track;
    }
  }
  return 0;
}

std::unique_ptr<SoundBuffer> CdAudio::LoadTrack(uint32_t track, CdResult& result) const {
  const Track& entry = tracks_[track - 1];
  std::vector<uint8_t> fileBytes;
  const uint8_t* samples = entry.samples.data();
  AudioFormat format = entry.format;
  uint32_t size = entry.dataSize;
  if (!entry.path.empty()) {
    WaveContents contents;
    if (!ReadWholeFile(entry.path, kMaximumSoundBytes + 4096, fileBytes) ||
        ParseWave(fileBytes.data(), fileBytes.size(), contents) != WaveError::None) {
      result = CdResult::TrackUnreadable;
      return nullptr;
    }
    samples = fileBytes.data() + contents.dataOffset;
    format = contents.format;
    size = contents.dataSize;
  }
  AudioResult audioResult = AudioResult::Ok;
  std::unique_ptr<SoundBuffer> buffer = mixer_->CreateBuffer(format, size, audioResult);
  if (!buffer || buffer->Fill(samples, size) != AudioResult::Ok) {
    result = CdResult::TrackUnreadable;
    return nullptr;
  }
  buffer->SetFaderGroup(FaderKind::CdAudio);
  result = CdResult::Ok;
  return buffer;
}

CdResult CdAudio::Play(uint32_t firstTrack, uint32_t lastTrack) {
  if (mixer_ == nullptr) {
    return CdResult::NoOutput;
  }
  if (!IsAudioTrack(firstTrack)) {
    return CdResult::BadTrack;
  }
  Stop();
  lastTrack_ = lastTrack == 0 || lastTrack > TrackCount() ? TrackCount() : std::max(lastTrack, firstTrack);
  CdResult result = CdResult::Ok;
  current_ = LoadTrack(firstTrack, result);
  if (!current_) {
    return result;
  }
  currentTrack_ = firstTrack;
  ReadyFollower();
  current_->Play(false);
  return CdResult::Ok;
}

void CdAudio::ReadyFollower() {
  follower_.reset();
  followerTrack_ = NextAudioTrack(currentTrack_);
  CdResult result = CdResult::Ok;
  if (followerTrack_ != 0) {
    follower_ = LoadTrack(followerTrack_, result);
  }
  if (!follower_) {
    followerTrack_ = 0;
  }
  current_->SetFollower(follower_.get());
}

void CdAudio::Service() {
  if (!current_ || paused_ || current_->IsPlaying()) {
    return;
  }
  // The track ended: the mixer has started the one readied after it.
  if (follower_ && follower_->IsPlaying()) {
    current_ = std::move(follower_);
    currentTrack_ = followerTrack_;
    ReadyFollower();
    return;
  }
  current_.reset();
  follower_.reset();
  currentTrack_ = 0;
  followerTrack_ = 0;
}

CdResult CdAudio::Stop() {
  if (current_) {
    current_->SetFollower(nullptr);
  }
  follower_.reset();
  current_.reset();
  currentTrack_ = 0;
  followerTrack_ = 0;
  paused_ = false;
  return CdResult::Ok;
}

CdResult CdAudio::Pause() {
  Service();
  if (current_) {
    current_->Stop();
    paused_ = true;
  }
  return CdResult::Ok;
}

CdResult CdAudio::Resume() {
  if (!current_) {
    return CdResult::NoDisc;
  }
  paused_ = false;
  current_->Play(false);
  return CdResult::Ok;
}

bool CdAudio::IsPlaying() {
  Service();
  return current_ && !paused_;
}

uint32_t CdAudio::CurrentTrack() {
  Service();
  return currentTrack_;
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
