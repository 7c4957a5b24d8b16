#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchRates.h"
#include "base/LumoFileStream.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/ThingInfo.h"
#include "platform/FileSystem.h"

// Saving and loading 10,000 thing information records of every kind through
// an object stream, in memory and in a file, in the same run. The ratios of
// file to memory are printed at the end.

namespace {

constexpr int32_t kRecords = 10000;
using RecordOwner = std::unique_ptr<ThingInfo, tObjectDestroyer>;

// The kinds of record the logic makes, in turn; "" makes a plain record.
constexpr const char* kKinds[] = {"Unit", "UnitLeader", "Shop", "Pub", "Vehicle", "Shack", ""};

std::vector<RecordOwner> MakeRecords() {
  std::vector<RecordOwner> records;
  for (int32_t index = 0; index < kRecords; ++index) {
    const char* kind = kKinds[static_cast<size_t>(index) % std::size(kKinds)];
    RecordOwner record(CreateThingInfo(index % 97, index % 89, index % 3,
                                       static_cast<uint8_t>(index % 8), index % 5, kind));
    record->Gfx = index % 41;
    record->Tid = index;
    record->Hp = 0.5f;
    // Every fourth record has a footprint: an embedded object.
    if (index % 4 == 0) {
      record->AddWall(record->X + 1, record->Y, false);
    }
    records.push_back(std::move(record));
  }
  return records;
}

const std::vector<RecordOwner>& Records() {
  static const std::vector<RecordOwner> records = MakeRecords();
  return records;
}

bool SaveAll(LumoStream& stream) {
  for (const RecordOwner& record : Records()) {
    if (!record->SaveObject(&stream, 0)) {
      return false;
    }
  }
  return true;
}

bool LoadAll(LumoStream& stream) {
  for (int32_t index = 0; index < kRecords; ++index) {
    LumoObject* object = LoadObject(&stream, nullptr);
    if (object == nullptr) {
      return false;
    }
    DestroyObject(object);
  }
  return true;
}

// The saved bytes of every record, for the memory loads.
const std::vector<uint8_t>& SavedBytes() {
  static const std::vector<uint8_t> bytes = [] {
    LumoMemoryStream stream;
    std::vector<uint8_t> saved;
    if (stream.OpenNew(1 << 20, 1, 0) && stream.SetGrowth(1 << 20) != 0 && SaveAll(stream)) {
      saved.assign(stream.buffer, stream.buffer + stream.position);
    }
    return saved;
  }();
  return bytes;
}

// A file of this run's own, in a fresh temporary folder.
const std::string& FileName() {
  static const std::string name = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "objectbenchXXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      return std::string();
    }
    return platform::GameFileName(pattern + "/records.dat");
  }();
  return name;
}

void RemoveFile() {
  const std::string& name = FileName();
  if (!name.empty()) {
    if (const auto path = platform::MapFileName(name.c_str())) {
      std::error_code ignored;
      std::filesystem::remove_all(std::filesystem::path(*path).parent_path(), ignored);
    }
  }
}

void SaveToMemory(benchmark::State& state) {
  Records();
  bench_rates::Measure(state, "save memory", "records", kRecords, [&] {
    LumoMemoryStream stream;
    if (!stream.OpenNew(1 << 20, 1, 0) || stream.SetGrowth(1 << 20) == 0 || !SaveAll(stream)) {
      state.SkipWithError("saving into memory failed");
    }
  });
}

void LoadFromMemory(benchmark::State& state) {
  std::vector<uint8_t> bytes = SavedBytes();
  if (bytes.empty()) {
    state.SkipWithError("the records could not be saved");
    return;
  }
  bench_rates::Measure(state, "load memory", "records", kRecords, [&] {
    LumoMemoryStream stream;
    if (!stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), 1, 0) ||
        !LoadAll(stream)) {
      state.SkipWithError("loading from memory failed");
    }
  });
}

void SaveToFile(benchmark::State& state) {
  Records();
  if (FileName().empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  bench_rates::Measure(state, "save file", "records", kRecords, [&] {
    LumoFileStream stream;
    if (!stream.Open(FileName().c_str(), FileModeReadWrite, OpenModeCreate, ShareModeExclusive, 1,
                     0) ||
        !SaveAll(stream) || !stream.Close()) {
      state.SkipWithError("saving into the file failed");
    }
  });
}

void LoadFromFile(benchmark::State& state) {
  {
    LumoFileStream stream;
    if (FileName().empty() ||
        !stream.Open(FileName().c_str(), FileModeReadWrite, OpenModeCreate, ShareModeExclusive, 1,
                     0) ||
        !SaveAll(stream) || !stream.Close()) {
      state.SkipWithError("the file could not be written");
      return;
    }
  }
  bench_rates::Measure(state, "load file", "records", kRecords, [&] {
    LumoFileStream stream;
    if (!stream.Open(FileName().c_str(), FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0) ||
        !LoadAll(stream)) {
      state.SkipWithError("loading from the file failed");
    }
  });
}

void PrintRatios() {
  std::printf("\nObject streams, %d thing records, file against memory (CPU time):\n", kRecords);
  for (const char* action : {"save", "load"}) {
    const double memory = bench_rates::Rate(std::string(action) + " memory");
    const double file = bench_rates::Rate(std::string(action) + " file");
    if (memory <= 0 || file <= 0) {
      continue;
    }
    std::printf("  %s  memory %10.0f records/s   file %10.0f records/s   file/memory %.2f\n",
                action, memory, file, file / memory);
  }
}

}  // namespace

BENCHMARK(SaveToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The benchmark never needs a display.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  RemoveFile();
  return 0;
}
