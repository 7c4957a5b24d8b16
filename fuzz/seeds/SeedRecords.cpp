#include "fuzz/seeds/SeedRecords.h"

#include <cstdio>

#include "base/LumoMemoryStream.h"
#include "base/LumoObject.h"

std::string SeedRecordOf(LumoObject& object, uint32_t headerVersion) {
  LumoMemoryStream stream;
  if (!stream.OpenNew(64, 1, 0) || stream.SetGrowth(4096) == 0 || !object.SaveObject(&stream, headerVersion)) {
    std::fprintf(stderr, "Cannot save the seed object %s\n", object.GetClassName());
    return {};
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

std::string PatchedBigEndian(std::string bytes, size_t offset, uint32_t value) {
  for (size_t index = 0; index < 4 && offset + index < bytes.size(); ++index) {
    bytes[offset + index] = static_cast<char>(value >> (24 - 8 * index));
  }
  return bytes;
}
