#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "runtime/Compound.h"

// Builds compound archives byte by byte, so tests can store well-formed and
// damaged archives without going through the code under test.
namespace compound_test {

using Bytes = std::vector<uint8_t>;

inline void PutWord(Bytes& bytes, size_t at, uint32_t value) {
  for (int index = 0; index < 4; ++index) {
    bytes[at + index] = static_cast<uint8_t>(value >> (8 * index));
  }
}

inline void AppendWord(Bytes& bytes, uint32_t value) {
  bytes.resize(bytes.size() + 4);
  PutWord(bytes, bytes.size() - 4, value);
}

// "PACK", the data of each entry in order, then the directory.
inline Bytes BuildArchive(const std::vector<std::pair<std::string, std::string>>& entries) {
  Bytes bytes = {'P', 'A', 'C', 'K'};
  AppendWord(bytes, 0);
  AppendWord(bytes, 0);
  std::vector<uint32_t> offsets;
  for (const auto& [name, data] : entries) {
    offsets.push_back(static_cast<uint32_t>(bytes.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(bytes.size());
  for (size_t index = 0; index < entries.size(); ++index) {
    const std::string& name = entries[index].first;
    Bytes slot(kCompoundNameSize, 0);
    std::memcpy(slot.data(), name.data(), std::min<size_t>(name.size(), kCompoundNameSize));
    bytes.insert(bytes.end(), slot.begin(), slot.end());
    AppendWord(bytes, offsets[index]);
    AppendWord(bytes, static_cast<uint32_t>(entries[index].second.size()));
  }
  PutWord(bytes, 4, directoryOffset);
  PutWord(bytes, 8, static_cast<uint32_t>(entries.size()) * kCompoundEntrySize);
  return bytes;
}

inline void StoreBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes LoadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The entry's bytes read through the archive's file; "<missing>" when the
// lookup fails.
inline std::string ReadEntry(CompoundHandle compound, const char* name) {
  uint32_t offset = 0;
  uint32_t size = 0;
  FileHandle file = LookupCompound(compound, name, offset, size);
  if (file == nullptr) {
    return "<missing>";
  }
  std::string data(size, '\0');
  uint32_t total = 0;
  while (total < size) {
    uint32_t read = 0;
    if (!ReadFile(file, data.data() + total, size - total, read) || read == 0) {
      return "<short>";
    }
    total += read;
  }
  return data;
}

// Appends an entry with its bytes and finishes it.
inline bool AddEntry(CompoundHandle compound, const char* name, const std::string& data) {
  uint32_t offset = 0;
  FileHandle file = AppendCompound(compound, name, offset);
  if (file == nullptr) {
    return false;
  }
  uint32_t written = 0;
  if (!data.empty() && !WriteFile(file, data.data(), static_cast<uint32_t>(data.size()), written)) {
    return false;
  }
  return UpdateCompound(compound, written);
}

}  // namespace compound_test
