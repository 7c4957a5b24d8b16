#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A small BMP writer for tests: it lays out any header size, palette,
// masks, data offset and pixel bytes a test asks for, right or wrong, so
// the reader can be shown good files and damaged ones alike.

namespace testing_support {

struct BitmapFileSpec {
  uint32_t headerSize = 40;  // 12 writes a core header
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  // Written after a 40-byte header when compression is 3, inside larger
  // headers otherwise (red, green, blue, alpha).
  std::vector<uint32_t> masks;
  std::vector<uint8_t> palette;  // the raw entries (3 or 4 bytes each)
  uint32_t gap = 0;              // bytes between the palette and the pixels
  std::vector<uint8_t> pixels;   // the stored pixel bytes
  int64_t dataOffset = -1;       // -1: where the pixels start
};

inline void PutLittle(std::vector<uint8_t>& bytes, uint64_t value, int count) {
  for (int index = 0; index < count; ++index) {
    bytes.push_back(static_cast<uint8_t>(value >> (8 * index)));
  }
}

inline std::vector<uint8_t> BuildBitmapFile(const BitmapFileSpec& spec) {
  std::vector<uint8_t> header;
  PutLittle(header, spec.headerSize, 4);
  if (spec.headerSize == 12) {
    PutLittle(header, static_cast<uint16_t>(spec.width), 2);
    PutLittle(header, static_cast<uint16_t>(spec.height), 2);
    PutLittle(header, spec.planes, 2);
    PutLittle(header, spec.bitCount, 2);
  } else {
    PutLittle(header, static_cast<uint32_t>(spec.width), 4);
    PutLittle(header, static_cast<uint32_t>(spec.height), 4);
    PutLittle(header, spec.planes, 2);
    PutLittle(header, spec.bitCount, 2);
    PutLittle(header, spec.compression, 4);
    PutLittle(header, spec.sizeImage, 4);
    PutLittle(header, 2835, 4);
    PutLittle(header, 2835, 4);
    PutLittle(header, 0, 4);
    PutLittle(header, 0, 4);
    if (spec.headerSize > 40) {
      for (size_t index = 0; index < 4; ++index) {
        PutLittle(header, index < spec.masks.size() ? spec.masks[index] : 0, 4);
      }
    }
    header.resize(spec.headerSize, 0);
    if (spec.headerSize == 40 && spec.compression == 3) {
      for (uint32_t mask : spec.masks) {
        PutLittle(header, mask, 4);
      }
    }
  }
  header.insert(header.end(), spec.palette.begin(), spec.palette.end());
  header.insert(header.end(), spec.gap, 0xEE);
  const uint64_t offset = spec.dataOffset >= 0 ? static_cast<uint64_t>(spec.dataOffset) : 14 + header.size();
  std::vector<uint8_t> file = {'B', 'M'};
  PutLittle(file, 14 + header.size() + spec.pixels.size(), 4);
  PutLittle(file, 0, 4);
  PutLittle(file, offset, 4);
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), spec.pixels.begin(), spec.pixels.end());
  return file;
}

inline void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
