#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Writers of small RIFF media files for tests: WAVE sounds and AVI movies
// with uncompressed frames, built in memory field by field.
namespace testing_support {

using Bytes = std::vector<uint8_t>;

inline void PutLittle16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutLittle32(Bytes& bytes, uint32_t value) {
  PutLittle16(bytes, value & 0xFFFF);
  PutLittle16(bytes, value >> 16);
}

inline void PutId(Bytes& bytes, const std::string& id) { bytes.insert(bytes.end(), id.begin(), id.begin() + 4); }

// One chunk: identifier, size, data and the pad byte of an odd size.
inline Bytes Chunk(const std::string& id, const Bytes& data) {
  Bytes bytes;
  PutId(bytes, id);
  PutLittle32(bytes, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (data.size() % 2 != 0) {
    bytes.push_back(0);
  }
  return bytes;
}

// A "RIFF" or "LIST" chunk of a form type holding chunks laid one after another.
inline Bytes List(const std::string& id, const std::string& form, const std::vector<Bytes>& chunks) {
  Bytes data;
  PutId(data, form);
  for (const Bytes& chunk : chunks) {
    data.insert(data.end(), chunk.begin(), chunk.end());
  }
  return Chunk(id, data);
}

// A wave format record: the 16 bytes every format has, then (when given) the
// count of extra bytes and the bytes.
inline Bytes WaveFormatData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                            const Bytes* extra = nullptr) {
  Bytes data;
  const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
  PutLittle16(data, tag);
  PutLittle16(data, channels);
  PutLittle32(data, rate);
  PutLittle32(data, rate * blockAlign);
  PutLittle16(data, blockAlign);
  PutLittle16(data, bits);
  if (extra != nullptr) {
    PutLittle16(data, static_cast<uint32_t>(extra->size()));
    data.insert(data.end(), extra->begin(), extra->end());
  }
  return data;
}

inline Bytes PcmWave(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples) {
  return List("RIFF", "WAVE", {Chunk("fmt ", WaveFormatData(1, channels, rate, bits)), Chunk("data", samples)});
}

// Signed 16-bit samples as little-endian bytes.
inline Bytes Samples16(const std::vector<int16_t>& samples) {
  Bytes bytes;
  for (const int16_t sample : samples) {
    PutLittle16(bytes, static_cast<uint16_t>(sample));
  }
  return bytes;
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// ---- AVI ----

struct TestMovie {
  int32_t width = 4;
  int32_t height = 2;
  uint32_t rate = 10;  // frames per second (with scale 1)
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;  // 0: uncompressed
  bool topDown = false;
  std::vector<Bytes> frames;  // stored rows (bottom-up unless topDown), padded to 4 bytes
  bool sound = false;
  uint16_t soundTag = 1;
  uint16_t soundChannels = 1;
  uint32_t soundRate = 8000;
  uint16_t soundBits = 8;
  Bytes soundData;
};

// A 24-bit frame of one colour.
inline Bytes SolidFrame(int32_t width, int32_t height, uint8_t red, uint8_t green, uint8_t blue) {
  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  Bytes frame(rowBytes * static_cast<size_t>(height), 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* pixel = frame.data() + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 3;
      pixel[0] = blue;
      pixel[1] = green;
      pixel[2] = red;
    }
  }
  return frame;
}

inline Bytes StreamHeader(const std::string& type, uint32_t scale, uint32_t rate, uint32_t length) {
  Bytes data;
  PutId(data, type);
  PutLittle32(data, 0);  // handler
  PutLittle32(data, 0);  // flags
  PutLittle32(data, 0);  // priority and language
  PutLittle32(data, 0);  // initial frames
  PutLittle32(data, scale);
  PutLittle32(data, rate);
  PutLittle32(data, 0);  // start
  PutLittle32(data, length);
  PutLittle32(data, 0);  // suggested buffer size
  PutLittle32(data, 0);  // quality
  PutLittle32(data, 0);  // sample size
  PutLittle32(data, 0);  // frame rectangle
  PutLittle32(data, 0);
  return data;
}

inline Bytes AviFile(const TestMovie& movie) {
  Bytes mainHeader;
  PutLittle32(mainHeader, 1000000 / movie.rate);
  for (int field = 0; field < 3; ++field) PutLittle32(mainHeader, 0);
  PutLittle32(mainHeader, static_cast<uint32_t>(movie.frames.size()));
  PutLittle32(mainHeader, 0);
  PutLittle32(mainHeader, movie.sound ? 2 : 1);
  PutLittle32(mainHeader, 0);
  PutLittle32(mainHeader, static_cast<uint32_t>(movie.width));
  PutLittle32(mainHeader, static_cast<uint32_t>(movie.height));
  for (int field = 0; field < 4; ++field) PutLittle32(mainHeader, 0);

  Bytes bitmap;
  PutLittle32(bitmap, 40);
  PutLittle32(bitmap, static_cast<uint32_t>(movie.width));
  PutLittle32(bitmap, static_cast<uint32_t>(movie.topDown ? -movie.height : movie.height));
  PutLittle16(bitmap, 1);
  PutLittle16(bitmap, movie.bitsPerPixel);
  PutLittle32(bitmap, movie.compression);
  for (int field = 0; field < 5; ++field) PutLittle32(bitmap, 0);

  std::vector<Bytes> headers = {
      Chunk("avih", mainHeader),
      List("LIST", "strl",
           {Chunk("strh", StreamHeader("vids", 1, movie.rate, static_cast<uint32_t>(movie.frames.size()))),
            Chunk("strf", bitmap)})};
  std::vector<Bytes> data;
  for (const Bytes& frame : movie.frames) {
    data.push_back(Chunk("00db", frame));
  }
  if (movie.sound) {
    headers.push_back(List(
        "LIST", "strl",
        {Chunk("strh", StreamHeader("auds", 1, movie.soundRate, static_cast<uint32_t>(movie.soundData.size()))),
         Chunk("strf", WaveFormatData(movie.soundTag, movie.soundChannels, movie.soundRate, movie.soundBits))}));
    data.push_back(Chunk("01wb", movie.soundData));
  }
  return List("RIFF", "AVI ", {List("LIST", "hdrl", headers), List("LIST", "movi", data)});
}

}  // namespace testing_support
