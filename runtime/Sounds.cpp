#include "runtime/Sounds.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "base/DebugFormat.h"
#include "base/LumoObject.h"
#include "platform/Backend.h"
#include "runtime/CdAudio.h"
#include "runtime/Compound.h"
#include "runtime/Config.h"
#include "runtime/DebugLog.h"
#include "runtime/FileNames.h"
#include "runtime/Folders.h"
#include "runtime/LumoSound.h"
#include "runtime/RTSState.h"
#include "runtime/WaveReader.h"

using platform::AudioResult;
using platform::ResultCode;

void LumoSound::Free() {
  if (buffer) {
    buffer->Stop();
    buffer.reset();
  }
  data.clear();
  data.shrink_to_fit();
  formatExtra.clear();
  tStrNode::Free();
}

namespace {

struct SoundState {
  bool enabled = false;
  bool required = false;
  std::shared_ptr<platform::Audio> mixer;
  bool primaryStarted = false;
  std::unique_ptr<tList, tObjectDestroyer> sounds;
};

SoundState state;

constexpr const char* kSection = "DirectSound";

const char* ConfigurationName() {
  const tStartRecord* start = RTS().startRecord;
  return start != nullptr ? start->configurationName : nullptr;
}

// ---- Handles ----

// The sound of a handle, or null after logging the caller's null-pointer line.
LumoSound* CheckedSound(const char* caller, SoundHandle sound) {
  if (sound == nullptr || !sound->buffer) {
    DebugPrint("%s Null pointer to the sound specified\n", caller);
    return nullptr;
  }
  return sound;
}

const char* NameOf(const LumoSound& sound) { return sound.text != nullptr ? sound.text : ""; }

// Logs a failed mixer call of a handle function; answers whether it succeeded.
bool Succeeded(AudioResult result, const char* caller, const char* what, const LumoSound& sound) {
  if (result == AudioResult::Ok) {
    return true;
  }
  DebugPrint("%s Cannot %s (Name=%s, Error=%X)\n", caller, what, NameOf(sound), ResultCode(result));
  return false;
}

// Plays by a count: once, looping, or (for 0) not at all.
bool PlayByCount(const char* caller, LumoSound& sound) {
  if (sound.playCount == 0) {
    return true;
  }
  return Succeeded(sound.buffer->Play(sound.playCount < 0), caller, "play sound", sound);
}

// ---- Loading ----

std::string SoundFileName(const char* name) {
  std::string fullName = name;
  const size_t length = fullName.size();
  const bool asGiven = (length >= 1 && length <= 3) || (length >= 2 && fullName[1] == ':');
  if (!asGiven) {
    char folder[kMaxPathSize] = {};
    if (GetFolderName(FolderSound, folder)) {
      fullName = std::string(folder) + fullName;
    }
  }
  return WithDefaultExtension(fullName, ".wav");
}

// Reads the sound from the global compound archive's entry named by the
// file-name part, when the archive holds one, else from the file. The
// archive file's position is put back afterwards, so an object stream
// reading another entry of the archive goes on where it was.
uint32_t ReadSoundData(const std::string& fullName, tWaveData& wave) {
  char filePart[kMaxPathSize] = {};
  const CompoundHandle compound = GetCompound();
  if (compound != nullptr && GetFileName(fullName.c_str(), filePart)) {
    const FileHandle archive = GetCompoundFile(compound);
    const int32_t position = SeekFile(archive, 0, SeekModeCurrent);
    uint32_t offset = 0;
    uint32_t size = 0;
    if (LookupCompound(compound, filePart, offset, size) != nullptr) {
      const uint32_t result = ReadWaveFrom(archive, size, wave);
      if (position >= 0) {
        SeekFile(archive, position, SeekModeStart);
      }
      return result;
    }
  }
  return ReadWaveFile(fullName.c_str(), wave);
}

// Reads the samples and uploads them into a new mixer buffer; false (logged)
// on failure.
bool FillSound(LumoSound& sound) {
  const char* name = NameOf(sound);
  tWaveData wave;
  const uint32_t readResult = ReadSoundData(name, wave);
  if (readResult != kWaveOk) {
    if (GetDebugLevel() >= DebugLevelStandard) {
      DebugPrint("LoadSound() Cannot load sound from file (Name=%s)\n", name);
      DebugPrint("LoadSound() The WAVE reader failed (Name=%s, Error=%X)\n", name, readResult);
    }
    return false;
  }
  sound.format = wave.format;
  sound.formatExtra = std::move(wave.formatExtra);
  sound.data = std::move(wave.samples);
  sound.size = static_cast<uint32_t>(sound.data.size());
  AudioResult result = AudioResult::Ok;
  sound.buffer = state.mixer->CreateBuffer(sound.format, sound.size, result);
  if (!sound.buffer) {
    DebugPrint("LoadSound() Cannot create DirectSound buffer (Name=%s, Error=%X)\n", name, ResultCode(result));
    return false;
  }
  result = sound.buffer->Fill(sound.data.data(), sound.size);
  if (result != AudioResult::Ok) {
    DebugPrint("LoadSound() Cannot lock the DirectSound buffer (Name=%s, Error=%X)\n", name, ResultCode(result));
    return false;
  }
  sound.data.clear();
  sound.data.shrink_to_fit();
  return true;
}

// Names a new sound and appends it to the list; false (logged) on failure.
bool AddToList(const char* caller, LumoSound& sound, const char* name, const char* nameFailure) {
  sound.SetText(name);
  if (sound.text == nullptr) {
    DebugPrint(nameFailure, name);
    return false;
  }
  if (state.sounds->Append(&sound) != &sound || sound.owner != state.sounds.get()) {
    DebugPrint("%s Cannot append sound to the list (Name=%s)\n", caller, name);
    return false;
  }
  return true;
}

// ---- Start ----

// A switch whose default is on: a read-only read gives false for a missing
// entry, so only an entry that says so switches it off.
bool ReadSwitch(ConfigurationHandle configuration, const char* entry, bool defaultValue) {
  bool value = false;
  if (!ReadConfigurationBool(configuration, kSection, entry, value)) {
    return defaultValue;
  }
  return value;
}

void ReadEnableSettings() {
  ConfigurationHandle configuration = OpenConfiguration(ConfigurationName(), false);
  state.required = configuration != nullptr && ReadSwitch(configuration, "Required", false);
  state.enabled = configuration == nullptr || ReadSwitch(configuration, "Enabled", true);
  CloseConfiguration(configuration);
}

// The primary format, read through a writable handle so that the defaults
// land in the file.
platform::AudioFormat ReadPrimaryFormat() {
  int32_t formatTag = platform::kWaveFormatPcm;
  int32_t channels = 1;
  int32_t samplesPerSecond = 22050;
  int32_t bitsPerSample = 16;
  ConfigurationHandle configuration = OpenConfiguration(ConfigurationName(), true);
  ReadConfigurationInt(configuration, kSection, "WaveFormat", formatTag);
  ReadConfigurationInt(configuration, kSection, "Channels", channels);
  ReadConfigurationInt(configuration, kSection, "SamplesPerSec", samplesPerSecond);
  ReadConfigurationInt(configuration, kSection, "BitsPerSample", bitsPerSample);
  CloseConfiguration(configuration);
  platform::AudioFormat format = platform::PcmFormat(static_cast<uint16_t>(channels),
                                                     static_cast<uint32_t>(samplesPerSecond),
                                                     static_cast<uint16_t>(bitsPerSample));
  format.formatTag = static_cast<uint16_t>(formatTag);
  return format;
}

bool CreateMixer() {
  AudioResult result = AudioResult::Ok;
  state.mixer = platform::Audio::Create(platform::GetBackend(), result);
  if (state.mixer) {
    DebugMessage("DirectSound created\n");
    return true;
  }
  if (state.required) {
    FailureBox("Cannot create DirectSound (Error=%X)\n", ResultCode(result));
    return false;
  }
  state.enabled = false;
  WarningPrint("Cannot create DirectSound: However, the game can run without sound (Error=%X)\n", ResultCode(result));
  return true;
}

// A configured format the output cannot take leaves the output's own format.
void SelectPrimaryFormat(const platform::AudioFormat& format) {
  DebugMessage("DirectSound exclusive coorporative level set\n");
  DebugMessage("DirectSound primary buffer created\n");
  const AudioResult result = state.mixer->SetPrimaryFormat(format);
  if (result != AudioResult::Ok) {
    DebugPrint("Cannot set the DirectSound format of the primary buffer (Error=%X)\n", ResultCode(result));
  }
  const platform::AudioFormat& selected = state.mixer->PrimaryFormat();
  DebugPrint("DirectSound format selected (Format=%X, Channels=%i, SamplesPerSec=%i, BitsPerSample=%i)\n",
             static_cast<unsigned>(selected.formatTag), static_cast<int>(selected.channels),
             static_cast<int>(selected.samplesPerSecond), static_cast<int>(selected.bitsPerSample));
}

void ReleaseMixer() {
  if (!state.mixer) {
    return;
  }
  state.mixer.reset();
  if (state.primaryStarted) {
    DebugMessage("DirectSound primary buffer released\n");
    DebugMessage("DirectSound wave format destroyed\n");
  }
  state.primaryStarted = false;
  DebugMessage("DirectSound released\n");
}

}  // namespace

// ---- Start and stop ----

bool StartSoundDevice() {
  StopSoundDevice();
  ReadEnableSettings();
  if (!state.enabled) {
    if (state.required) {
      FailureBox("The sound is disabled, but sound is required for the game\n");
      return false;
    }
    WarningMessage("The sound is disabled: the game will run without sound\n");
    return true;
  }
  const platform::AudioFormat format = ReadPrimaryFormat();
  if (!CreateMixer()) {
    return false;
  }
  if (!state.mixer) {
    return true;
  }
  SelectPrimaryFormat(format);
  const AudioResult started = state.mixer->Start();
  if (started != AudioResult::Ok) {
    FailureBox("Cannot start the DirectSound primary buffer (Error=%X)\n", ResultCode(started));
    ReleaseMixer();
    return false;
  }
  state.primaryStarted = true;
  DebugMessage("DirectSound primary buffer started\n");
  state.sounds.reset(new tList());
  DebugMessage("Sound list created\n");
  StartCdAudioAndMixer(ConfigurationName());
  return true;
}

void StopSoundDevice() {
  if (state.sounds) {
    state.sounds.reset();
    DebugMessage("Sound list deleted\n");
  }
  StopCdAudioAndMixer();
  ReleaseMixer();
  state.enabled = false;
  state.required = false;
}

platform::Audio* SoundMixer() { return state.mixer.get(); }

bool SoundEnabled() { return state.enabled && state.mixer != nullptr; }

// ---- Sounds ----

SoundHandle LoadSound(const char* name) {
  if (!SoundEnabled()) {
    return nullptr;
  }
  if (!state.sounds) {
    DebugMessage("LoadSound() No sound list\n");
    return nullptr;
  }
  if (name == nullptr) {
    DebugMessage("LoadSound() Null pointer to the name specified\n");
    return nullptr;
  }
  const std::string fullName = SoundFileName(name);
  auto* sound = new LumoSound();
  if (!AddToList("LoadSound()", *sound, fullName.c_str(), "LoadSound() Cannot set the sound name (Name=%s)\n") ||
      !FillSound(*sound)) {
    DestroyObject(sound);
    return nullptr;
  }
  if (GetDebugLevel() >= DebugLevelStandard) {
    DebugPrint("LoadSound() Sound loaded (Name=%s, Item=%p, Size=%i)\n", NameOf(*sound), static_cast<void*>(sound),
               static_cast<int>(sound->size));
  }
  return sound;
}

SoundHandle DuplicateSound(SoundHandle original) {
  if (!SoundEnabled()) {
    return nullptr;
  }
  if (!state.sounds) {
    DebugMessage("DuplicateSound() No sound list\n");
    return nullptr;
  }
  if (CheckedSound("DuplicateSound()", original) == nullptr) {
    return nullptr;
  }
  auto* sound = new LumoSound();
  AudioResult result = AudioResult::Ok;
  sound->buffer = state.mixer->Duplicate(*original->buffer, result);
  if (!sound->buffer) {
    DebugPrint("DuplicateSound() Cannot duplicate sound buffer (Name=%s, Error=%X)\n", NameOf(*original),
               ResultCode(result));
    DestroyObject(sound);
    return nullptr;
  }
  if (!AddToList("DuplicateSound()", *sound, NameOf(*original),
                 "DuplicateSound() Out of memory - cannot create duplicate name (Name=%s)\n")) {
    DestroyObject(sound);
    return nullptr;
  }
  sound->size = original->size;
  sound->playCount = original->playCount;
  sound->format = original->format;
  sound->formatExtra = original->formatExtra;
  if (GetDebugLevel() >= DebugLevelStandard) {
    DebugPrint("DuplicateSound() Sound duplicated (Name=%s, Item=%p, Size=%i)\n", NameOf(*sound),
               static_cast<void*>(sound), static_cast<int>(sound->size));
  }
  return sound;
}

void DestroySound(SoundHandle sound) {
  if (sound == nullptr) {
    DebugMessage("DestroySound() Null pointer to the sound specified\n");
    return;
  }
  if (GetDebugLevel() >= DebugLevelMedium) {
    DebugPrint("DestroySound() Sound destroyed (Name=%s)\n", NameOf(*sound));
  }
  DestroyObject(sound);
}

bool PlaySound(SoundHandle handle, int32_t count) {
  LumoSound* sound = CheckedSound("PlaySound()", handle);
  if (sound == nullptr) {
    return false;
  }
  sound->playCount = count;
  return PlayByCount("PlaySound()", *sound);
}

bool StopSound(SoundHandle handle) {
  LumoSound* sound = CheckedSound("StopSound()", handle);
  if (sound == nullptr || !Succeeded(sound->buffer->Stop(), "StopSound()", "stop sound", *sound)) {
    return false;
  }
  // A failing rewind is only logged: the sound is stopped.
  Succeeded(sound->buffer->SetPosition(0), "StopSound()", "set sound position", *sound);
  return true;
}

bool PauseSound(SoundHandle handle) {
  LumoSound* sound = CheckedSound("PauseSound()", handle);
  return sound != nullptr && Succeeded(sound->buffer->Stop(), "PauseSound()", "stop sound", *sound);
}

bool ResumeSound(SoundHandle handle) {
  LumoSound* sound = CheckedSound("ResumeSound()", handle);
  return sound != nullptr && PlayByCount("ResumeSound()", *sound);
}

bool PlayingSound(SoundHandle handle) {
  LumoSound* sound = CheckedSound("PlayingSound()", handle);
  return sound != nullptr && sound->buffer->IsPlaying();
}

int32_t GetSoundPosition(SoundHandle handle) {
  LumoSound* sound = CheckedSound("GetSoundPosition()", handle);
  uint32_t position = 0;
  if (sound == nullptr ||
      !Succeeded(sound->buffer->GetPosition(position), "GetSoundPosition()", "get sound position", *sound)) {
    return -1;
  }
  return static_cast<int32_t>(position);
}

int32_t SetSoundPosition(SoundHandle handle, int32_t position) {
  LumoSound* sound = CheckedSound("SetSoundPosition()", handle);
  if (sound == nullptr) {
    return -1;
  }
  const AudioResult result =
      position < 0 ? AudioResult::InvalidParameters : sound->buffer->SetPosition(static_cast<uint32_t>(position));
  return Succeeded(result, "SetSoundPosition()", "set sound position", *sound) ? position : -1;
}

int32_t GetSoundSize(SoundHandle handle) {
  LumoSound* sound = CheckedSound("GetSoundSize()", handle);
  return sound != nullptr ? static_cast<int32_t>(sound->size) : 0;
}

int32_t SetSoundVolume(SoundHandle handle, int32_t volume) {
  LumoSound* sound = CheckedSound("SetSoundVolume()", handle);
  if (sound == nullptr) {
    return 0;
  }
  const int32_t clamped = std::clamp(volume, -100, 0);
  return Succeeded(sound->buffer->SetVolume(clamped * 100), "SetSoundVolume()", "set sound volume", *sound) ? clamped
                                                                                                            : 0;
}

int32_t GetSoundVolume(SoundHandle handle) {
  LumoSound* sound = CheckedSound("GetSoundVolume()", handle);
  int32_t volume = 0;
  if (sound == nullptr || !Succeeded(sound->buffer->GetVolume(volume), "GetSoundVolume()", "get sound volume", *sound)) {
    return 0;
  }
  return volume / 100;
}

int32_t SetSoundPan(SoundHandle handle, int32_t pan) {
  LumoSound* sound = CheckedSound("SetSoundPan()", handle);
  if (sound == nullptr) {
    return 0;
  }
  const int32_t clamped = std::clamp(pan, -100, 100);
  return Succeeded(sound->buffer->SetPan(clamped * 100), "SetSoundPan()", "set sound pan", *sound) ? clamped : 0;
}

int32_t GetSoundPan(SoundHandle handle) {
  LumoSound* sound = CheckedSound("GetSoundPan()", handle);
  int32_t pan = 0;
  if (sound == nullptr || !Succeeded(sound->buffer->GetPan(pan), "GetSoundPan()", "get sound pan", *sound)) {
    return 0;
  }
  return pan / 100;
}
