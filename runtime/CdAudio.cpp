#include "runtime/CdAudio.h"

#include <algorithm>
#include <memory>
#include <string>

#include "base/DebugFormat.h"
#include "platform/Audio.h"
#include "platform/CdAudio.h"
#include "platform/FileSystem.h"
#include "runtime/Config.h"
#include "runtime/DebugLog.h"
#include "runtime/Sounds.h"

using platform::CdResult;
using platform::FaderKind;

namespace {

// What the sound start found of the machine's mixer: whether each fader
// exists, with its range as read then.
struct FaderRecord {
  bool present = false;
  uint32_t minimum = 0;
  uint32_t maximum = 0;
};

struct CdAudioState {
  std::unique_ptr<platform::CdAudio> device;
  uint32_t offset = 0;  // 1 when the disc's first track holds data
  bool cdAudioUsed = false;
  bool mixerOpen = false;
  FaderRecord master;
  FaderRecord cdAudio;
};

CdAudioState state;

// Logs a failure of the disc at debug level 3 and above.
void LogCdFailure(const char* caller, const char* what, CdResult result, const char* tracks = "") {
  if (GetDebugLevel() >= DebugLevelExtended) {
    DebugPrint("%s %s (%sError=%s)\n", caller, what, tracks, platform::CdErrorText(result));
  }
}

// Opens the disc when it is not open and finds the first audio track.
bool OpenDisc(const char* caller) {
  if (!state.device) {
    CdResult result = CdResult::Ok;
    state.device = platform::CdAudio::Open(SoundMixer(), platform::GetCdFolder(), result);
    if (!state.device) {
      LogCdFailure(caller, "Cannot open the CD-audio track", result);
      return false;
    }
  }
  state.offset = state.device->IsAudioTrack(1) ? 0 : 1;
  return true;
}

uint32_t AudioTrackCount() {
  const uint32_t tracks = state.device->TrackCount();
  return tracks > state.offset ? tracks - state.offset : 0;
}

uint32_t CountTracks(const char* caller) {
  if (!OpenDisc(caller)) {
    return 0;
  }
  return AudioTrackCount();
}

// ---- Faders ----

FaderRecord ReadFader(FaderKind kind) {
  const platform::Fader fader = platform::Audio::GetFader(kind);
  return {fader.present, fader.minimum, fader.maximum};
}

int32_t ReadVolume(const char* caller, FaderKind kind, const FaderRecord& record) {
  if (!record.present) {
    return 0;
  }
  const platform::Fader fader = platform::Audio::GetFader(kind);
  if (!fader.present) {
    DebugPrint("%s Cannot read the mixer's volume fader\n", caller);
    return 0;
  }
  return FaderToVolume(fader.value, record.minimum, record.maximum);
}

uint32_t WriteVolume(const char* caller, FaderKind kind, const FaderRecord& record, int32_t volume) {
  if (!record.present) {
    return 0;
  }
  const uint32_t value = VolumeToFader(volume, record.minimum, record.maximum);
  if (!platform::Audio::SetFaderValue(kind, value)) {
    DebugPrint("%s Cannot set the mixer's volume fader\n", caller);
    return 0;
  }
  return value;
}

void FindFader(FaderKind kind, FaderRecord& record, const char* detected, const char* missing) {
  record = ReadFader(kind);
  if (!record.present) {
    DebugMessage(missing);
    return;
  }
  const platform::Fader fader = platform::Audio::GetFader(kind);
  DebugPrint(detected, fader.value, fader.minimum, fader.maximum, fader.step);
}

bool ReadAudioIsCd(const char* configurationName) {
  ConfigurationHandle configuration = OpenConfiguration(configurationName, false);
  char audio[16] = {};
  ReadConfigurationStr(configuration, "Source", "Audio", audio, sizeof audio);
  CloseConfiguration(configuration);
  return std::string(audio).size() == 2 && (audio[0] == 'C' || audio[0] == 'c') && (audio[1] == 'D' || audio[1] == 'd');
}

}  // namespace

// ---- Fader formulas ----

int32_t FaderToVolume(uint32_t value, uint32_t minimum, uint32_t maximum) {
  // A fader without a range would divide by zero; it reads as a missing one.
  if (maximum <= minimum) {
    return 0;
  }
  const int64_t above = static_cast<int64_t>(value) - minimum;
  const int64_t percent = std::clamp<int64_t>(above * 100 / (static_cast<int64_t>(maximum) - minimum), 0, 100);
  return static_cast<int32_t>(percent - 100);
}

uint32_t VolumeToFader(int32_t volume, uint32_t minimum, uint32_t maximum) {
  if (maximum <= minimum) {
    return 0;
  }
  const int64_t span = static_cast<int64_t>(maximum) - minimum;
  const int64_t value = std::clamp<int64_t>((static_cast<int64_t>(volume) + 100) * span / 100, 0, span);
  return static_cast<uint32_t>(value + minimum);
}

// ---- Set-up ----

void StartCdAudioAndMixer(const char* configurationName) {
  state.cdAudioUsed = ReadAudioIsCd(configurationName);
  if (state.cdAudioUsed) {
    const uint32_t tracks = CountTracks("CountTracks()");
    if (tracks == 0) {
      state.device.reset();
    }
    DebugPrint("Software requires CD-audio (Tracks=%u)\n", tracks);
  } else {
    DebugMessage("CD-audio is optional\n");
  }
  if (SoundMixer() == nullptr) {
    DebugMessage("No audio mixer devices found\n");
    return;
  }
  state.mixerOpen = true;
  DebugPrint("Audio mixer device opened (Manufacturer=%u, Product=%u)\n", 1u, 1u);
  FindFader(FaderKind::Master, state.master,
            "Single master volume fader detected (Volume=%u, Minimum=%u, Maximum=%u, Step=%u)\n",
            "No valid master volume fader detected or the fader failed\n");
  FindFader(FaderKind::CdAudio, state.cdAudio,
            "Single CD-audio volume fader detected (Volume=%u, Minimum=%u, Maximum=%u, Step=%u)\n",
            "No valid CD-audio volume fader detected or the fader failed\n");
}

void StopCdAudioAndMixer() {
  if (state.device) {
    state.device.reset();
    DebugMessage("MCI CD-audio device closed\n");
  }
  if (state.mixerOpen) {
    DebugMessage("CD-audio controls destroyed\n");
    DebugMessage("Master audio controls destroyed\n");
    DebugMessage("Audio mixer device closed\n");
  }
  state = CdAudioState{};
}

// ---- Tracks ----

uint32_t CountCDAudio() { return CountTracks("CountCDAudio()"); }

bool PlayCDAudio(uint32_t firstTrack, uint32_t lastTrack) {
  if (!OpenDisc("PlayCDAudio()")) {
    return false;
  }
  const uint32_t count = AudioTrackCount();
  const uint32_t first = (firstTrack == 0 ? 1 : firstTrack) + state.offset;
  const uint32_t last = lastTrack == 0 || lastTrack > count ? 0 : lastTrack + state.offset;
  const CdResult result = state.device->Play(first, last);
  if (result == CdResult::Ok) {
    return true;
  }
  char tracks[64] = "";
  if (firstTrack != 0 || lastTrack != 0) {
    std::snprintf(tracks, sizeof tracks, "First=%u, Last=%u, ", firstTrack, lastTrack);
  }
  LogCdFailure("PlayCDAudio()", "Cannot play the CD-audio track", result, tracks);
  return false;
}

bool StopCDAudio() {
  if (!state.device) {
    return false;
  }
  state.device.reset();
  return true;
}

bool PauseCDAudio() { return state.device && state.device->Pause() == CdResult::Ok; }

bool ResumeCDAudio() {
  if (!state.device) {
    return false;
  }
  const CdResult result = state.device->Resume();
  if (result != CdResult::Ok) {
    LogCdFailure("ResumeCDAudio()", "Cannot play the CD-audio track", result);
    return false;
  }
  return true;
}

uint32_t PlayingCDAudio() {
  if (!state.device) {
    return 0;
  }
  const uint32_t track = state.device->CurrentTrack();
  return track > state.offset ? track - state.offset : 0;
}

// ---- Volumes ----

int32_t GetMasterVolume() { return ReadVolume("GetMasterVolume()", FaderKind::Master, state.master); }

int32_t GetCDAudioVolume() { return ReadVolume("GetCDAudioVolume()", FaderKind::CdAudio, state.cdAudio); }

uint32_t SetMasterVolume(int32_t volume) {
  return WriteVolume("SetMasterVolume()", FaderKind::Master, state.master, volume);
}

uint32_t SetCDAudioVolume(int32_t volume) {
  return WriteVolume("SetCDAudioVolume()", FaderKind::CdAudio, state.cdAudio, volume);
}
