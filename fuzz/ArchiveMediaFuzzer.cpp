// Graphics, alpha maps and sounds read from the global compound archive: the
// input is the bytes of one file, stored in an archive as a bitmap, an alpha
// map and a sound entry, one behind the other, so a reader that reads past
// its entry's end finds more bytes. Each is loaded through the run-time's own
// loader by name and must load as the same bytes in a loose file (or, for
// the sound, in memory) do: graphics both with the image reader and with the
// whole-file check of the system reader, on a headless display; sounds into
// the headless mixer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzArchive.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/ImageRoundTrip.h"
#include "platform/FileSystem.h"
#include "platform/Testing.h"
#include "runtime/Alpha.h"
#include "runtime/AlphaFile.h"
#include "runtime/Compound.h"
#include "runtime/Display.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Graphics.h"
#include "runtime/RTSState.h"
#include "runtime/Sounds.h"
#include "runtime/WaveReader.h"

namespace {

// Graphics larger than this are compared by their size and a corner of
// their pixels.
constexpr int32_t kComparedSide = 64;

std::string ScratchFolderName() {
  const std::string folder = platform::GameFileName(FuzzFilePath(""));
  return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

const tStartRecord& StartRecord() {
  static const std::string configuration = [] {
    const std::string text = "[DirectSound]\nSamplesPerSec=8000\nChannels=1\nBitsPerSample=16\n";
    return WriteFuzzFile("Sound.ini", reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }();
  static const tStartRecord record = {nullptr, "", 0, "FuzzArchiveMedia", "FuzzArchiveMedia",
                                      configuration.c_str(), DebugModeOff};
  return record;
}

bool StartDisplayWith(bool gdi) {
  StopDisplay();
  tDisplaySettings settings;
  settings.Windowed = false;
  settings.BackBlitting = true;
  settings.BitsPerPixel = 16;
  settings.GDI = gdi;
  return StartDisplay(settings);
}

// Runs before the platform layer's own statics end, which were made after
// this was registered.
void StopDevices() {
  StopSoundDevice();
  StopDisplay();
  RTS().startRecord = nullptr;
}

// The headless devices and the folders, set up once; stopped at exit.
void StartDevices() {
  static const bool started = [] {
    platform::testing::UseBackend("headless");
    const std::string folder = ScratchFolderName();
    FuzzRequire(SetFolderName(FolderGraphic, folder.c_str()) && SetFolderName(FolderSound, folder.c_str()),
                "the scratch folder is the graphics and the sound folder");
    RTS().startRecord = &StartRecord();
    FuzzRequire(StartSoundDevice() && SoundEnabled(), "the headless sound device starts");
    // The display's state comes to life with its first start: before the
    // stop at exit is registered, so it ends after that stop.
    FuzzRequire(StartDisplayWith(false), "the headless display starts");
    std::atexit(StopDevices);
    return true;
  }();
  (void)started;
}

// The size of a loaded graphic and its pixels in the top left corner; an
// empty text when nothing loaded.
std::string GraphicSummary(GraphicHandle graphic) {
  if (graphic == nullptr) {
    return "";
  }
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  std::string summary = std::to_string(width) + "x" + std::to_string(height) + ":";
  for (int32_t y = 0; y < height && y < kComparedSide; ++y) {
    for (int32_t x = 0; x < width && x < kComparedSide; ++x) {
      const uint32_t pixel = GetGraphicPixel(graphic, x, y);
      summary.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
    }
  }
  DestroyGraphic(graphic);
  return summary;
}

std::string AlphaSummary(AlphaHandle alpha) {
  if (alpha == nullptr) {
    return "";
  }
  int32_t width = 0;
  int32_t height = 0;
  GetAlphaSize(alpha, width, height);
  const tAlphaBytes bytes = GetAlphaBytes(alpha);
  std::string summary = std::to_string(width) + "x" + std::to_string(height) + ":";
  if (bytes.Data != nullptr) {
    summary.append(reinterpret_cast<const char*>(bytes.Data), bytes.Size);
  }
  DestroyAlpha(alpha);
  return summary;
}

// Whether the bytes are a whole BMP file to the system reader: "BM" and a
// file size equal to their count.
bool IsWholeBitmap(const uint8_t* data, size_t size) {
  if (size < 6 || data[0] != 'B' || data[1] != 'M') {
    return false;
  }
  const uint32_t stored = static_cast<uint32_t>(data[2]) | (static_cast<uint32_t>(data[3]) << 8) |
                          (static_cast<uint32_t>(data[4]) << 16) | (static_cast<uint32_t>(data[5]) << 24);
  return stored == size;
}

void CompareGraphics(const std::string& looseName, const char* what) {
  const std::string fromArchive = GraphicSummary(LoadGraphic("Fuzz"));
  const std::string fromFile = GraphicSummary(LoadGraphic(looseName.c_str()));
  FuzzRequire(fromArchive == fromFile, what);
}

// The image reader runs on the display kept between inputs. The system
// reader refuses an entry that is no whole BMP file before it reads further
// (a loose file has no such check), so the display restarts with its setting
// only for whole files: a display start takes longer than the rest.
void CheckGraphics(const uint8_t* data, size_t size, const std::string& looseName) {
  if (image_fuzzing::IsLargeRunLengthPicture(data, size)) {
    return;
  }
  CompareGraphics(looseName, "an archive's bitmap entry loads as the same file does");
  if (!IsWholeBitmap(data, size)) {
    return;
  }
  FuzzRequire(StartDisplayWith(true), "the headless display starts for the system reader");
  CompareGraphics(looseName, "an archive's whole bitmap entry loads as the same file does with the system reader");
  FuzzRequire(StartDisplayWith(false), "the headless display starts for the image reader");
}

void CheckSound(const uint8_t* data, size_t size) {
  tWaveData wave;
  const bool readable = ReadWaveBytes(data, size, wave) == kWaveOk;
  SoundHandle sound = LoadSound("Fuzz");
  FuzzRequire(sound == nullptr || readable, "only a readable sound entry loads");
  if (sound != nullptr) {
    FuzzRequire(GetSoundSize(sound) == static_cast<int32_t>(wave.samples.size()),
                "a sound entry loads the samples of its file");
    DestroySound(sound);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartDevices();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string looseName = WriteFuzzFile("Loose.bmp", data, size);
  const std::string looseAlpha = WriteFuzzFile("Loose.lma", data, size);
  const std::string archive =
      FuzzArchiveOf({{"Fuzz.bmp", bytes}, {"Fuzz.lma", bytes}, {"Fuzz.wav", bytes}, {"After.dat", bytes}});
  const std::string archiveName =
      WriteFuzzFile("Global.lmp", reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  CompoundHandle compound = OpenCompound(archiveName.c_str(), false);
  FuzzRequire(compound != nullptr, "an archive of the input's entries opens");
  SetCompound(compound);

  CheckGraphics(data, size, looseName);
  FuzzRequire(AlphaSummary(LoadAlpha("Fuzz")) == AlphaSummary(LoadAlpha(looseAlpha.c_str())),
              "an archive's alpha entry loads as the same file does");
  CheckSound(data, size);

  SetCompound(nullptr);
  CloseCompound(compound);
  return 0;
}
