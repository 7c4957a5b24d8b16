// WAVE files: the input is the file, read both from memory (an archive's
// entry) and through the run-time file functions; both readers must agree.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "runtime/WaveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tWaveData fromMemory;
  const uint32_t memoryResult = ReadWaveBytes(data, size, fromMemory);
  tWaveData fromFile;
  const uint32_t fileResult = ReadWaveFile(WriteFuzzFile("Fuzz.wav", data, size).c_str(), fromFile);
  FuzzRequire((memoryResult == kWaveOk) == (fileResult == kWaveOk), "both WAVE readers accept the same files");
  if (memoryResult == kWaveOk) {
    FuzzRequire(fromMemory.samples == fromFile.samples && fromMemory.formatExtra == fromFile.formatExtra,
                "both WAVE readers read the same sound");
  }
  return 0;
}
