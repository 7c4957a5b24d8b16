#include "platform/Movie.h"

#include <sys/types.h>

#include <algorithm>

#include "platform/WaveFile.h"

namespace platform {
namespace {

constexpr int32_t kMaximumSide = 16384;
constexpr uint32_t kMaximumHeaderBytes = 1u << 20;
constexpr uint32_t kBitmapCompressionNone = 0;
constexpr uint64_t kTicksPerSecond = 10000000;  // units of 100 ns

struct ChunkHeader {
  uint32_t id = 0;
  uint32_t size = 0;
  uint64_t dataOffset = 0;
};

bool ReadAt(std::FILE* file, uint64_t offset, void* buffer, size_t count) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(buffer, 1, count, file) == count;
}

bool ReadHeader(std::FILE* file, uint64_t offset, ChunkHeader& header) {
  uint8_t bytes[8];
  if (!ReadAt(file, offset, bytes, sizeof bytes)) {
    return false;
  }
  header.id = ReadLittle32(bytes);
  header.size = ReadLittle32(bytes + 4);
  header.dataOffset = offset + 8;
  return true;
}

uint64_t NextChunk(const ChunkHeader& header) { return header.dataOffset + header.size + (header.size & 1); }

// The two characters of a stream chunk's kind ("db", "dc", "wb") and its stream number.
bool StreamChunk(uint32_t id, uint32_t& stream, uint32_t& kind) {
  const auto digit = [](uint32_t character) { return character >= '0' && character <= '9'; };
  const uint32_t first = id & 0xFF;
  const uint32_t second = (id >> 8) & 0xFF;
  if (!digit(first) || !digit(second)) {
    return false;
  }
  stream = (first - '0') * 10 + (second - '0');
  kind = id >> 16;
  return true;
}

constexpr uint32_t TwoCC(char first, char second) {
  return static_cast<uint32_t>(static_cast<uint8_t>(first)) | static_cast<uint32_t>(static_cast<uint8_t>(second)) << 8;
}

// Bytes of one stored row of a bitmap: rows are padded to four bytes.
uint32_t RowBytes(int32_t width, uint16_t bitsPerPixel) {
  return ((static_cast<uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// Places an 8-bit channel into a pixel format's mask.
uint32_t PlaceChannel(uint32_t value, uint32_t mask) {
  const uint32_t count = MaskBitCount(mask);
  if (count == 0) {
    return 0;
  }
  const uint32_t scaled = count >= 8 ? value << (count - 8) : value >> (8 - count);
  return (scaled << MaskShift(mask)) & mask;
}

// What the stream headers of the file give.
struct StreamSetup {
  bool haveVideo = false;
  uint32_t videoStream = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitsPerPixel = 0;
  uint64_t frameDuration = 0;
  uint32_t frameScale = 0;
  uint32_t frameRate = 0;
  bool haveSound = false;
  uint32_t soundStream = 0;
  AudioFormat soundFormat;
};

bool ReadVideoFormat(const uint8_t* format, uint32_t size, StreamSetup& setup, std::string& failure) {
  if (size < 40) {
    failure = "the video format is too short";
    return false;
  }
  const auto width = static_cast<int32_t>(ReadLittle32(format + 4));
  const auto height = static_cast<int32_t>(ReadLittle32(format + 8));
  const uint16_t bits = ReadLittle16(format + 14);
  if (ReadLittle32(format + 16) != kBitmapCompressionNone) {
    failure = "the video is compressed; only uncompressed frames are played";
    return false;
  }
  if (bits != 16 && bits != 24 && bits != 32) {
    failure = "the video frames are not 16, 24 or 32 bits per pixel";
    return false;
  }
  if (width <= 0 || width > kMaximumSide || height == 0 || height < -kMaximumSide || height > kMaximumSide) {
    failure = "the video size is out of range";
    return false;
  }
  setup.width = width;
  setup.height = height;
  setup.bitsPerPixel = bits;
  return true;
}

// One "strl" list: a stream header and its format.
bool ReadStreamList(const uint8_t* bytes, const RiffChunk& list, uint32_t stream, StreamSetup& setup,
                    std::string& failure) {
  std::vector<RiffChunk> parts;
  if (list.size < 4 || !ListChunks(bytes, list.offset + 4, list.offset + list.size, parts)) {
    failure = "a stream list is damaged";
    return false;
  }
  const RiffChunk* header = nullptr;
  const RiffChunk* format = nullptr;
  for (const RiffChunk& part : parts) {
    if (part.id == FourCC("strh") && header == nullptr) header = &part;
    if (part.id == FourCC("strf") && format == nullptr) format = &part;
  }
  if (header == nullptr || format == nullptr || header->size < 36) {
    failure = "a stream has no header or format";
    return false;
  }
  const uint8_t* fields = bytes + header->offset;
  const uint32_t type = ReadLittle32(fields);
  if (type == FourCC("vids")) {
    if (setup.haveVideo) {
      failure = "the movie has more than one video stream";
      return false;
    }
    const uint32_t scale = ReadLittle32(fields + 20);
    const uint32_t rate = ReadLittle32(fields + 24);
    if (scale == 0 || rate == 0) {
      failure = "the video stream has no frame rate";
      return false;
    }
    setup.frameDuration = static_cast<uint64_t>(scale) * kTicksPerSecond / rate;
    setup.frameScale = scale;
    setup.frameRate = rate;
    setup.haveVideo = true;
    setup.videoStream = stream;
    return ReadVideoFormat(bytes + format->offset, format->size, setup, failure);
  }
  if (type == FourCC("auds")) {
    if (setup.haveSound || format->size < 16) {
      failure = "the movie has more than one sound stream, or a damaged one";
      return false;
    }
    const uint8_t* wave = bytes + format->offset;
    setup.soundFormat = PcmFormat(ReadLittle16(wave + 2), ReadLittle32(wave + 4), ReadLittle16(wave + 14));
    setup.soundFormat.formatTag = ReadLittle16(wave);
    if (!IsPlayablePcm(setup.soundFormat) || ReadLittle16(wave + 12) != setup.soundFormat.blockAlign) {
      failure = "the sound is not 8 or 16-bit PCM";
      return false;
    }
    setup.haveSound = true;
    setup.soundStream = stream;
    return true;
  }
  failure = "the movie holds a stream that is neither video nor sound";
  return false;
}

bool ReadHeaderList(const std::vector<uint8_t>& bytes, StreamSetup& setup, std::string& failure) {
  std::vector<RiffChunk> chunks;
  if (!ListChunks(bytes.data(), 4, bytes.size(), chunks)) {
    failure = "the header list is damaged";
    return false;
  }
  uint32_t stream = 0;
  for (const RiffChunk& chunk : chunks) {
    if (chunk.id == FourCC("LIST") && chunk.size >= 4 && ReadLittle32(bytes.data() + chunk.offset) == FourCC("strl")) {
      if (!ReadStreamList(bytes.data(), chunk, stream++, setup, failure)) {
        return false;
      }
    }
  }
  if (!setup.haveVideo) {
    failure = "the movie has no video stream";
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<Movie> Movie::Open(const std::string& path, std::string& failure) {
  std::unique_ptr<Movie> movie(new Movie());
  if (!movie->Read(path, failure)) {
    return nullptr;
  }
  return movie;
}

Movie::~Movie() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

bool Movie::Read(const std::string& path, std::string& failure) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    failure = "the file cannot be opened";
    return false;
  }
  uint8_t riff[12];
  if (!ReadAt(file_, 0, riff, sizeof riff) || ReadLittle32(riff) != FourCC("RIFF") ||
      ReadLittle32(riff + 8) != FourCC("AVI ")) {
    failure = "the file is not an AVI file";
    return false;
  }
  if (fseeko(file_, 0, SEEK_END) != 0) {
    failure = "the file cannot be read";
    return false;
  }
  const uint64_t fileSize = static_cast<uint64_t>(ftello(file_));
  const uint64_t end = std::min<uint64_t>(fileSize, 8 + static_cast<uint64_t>(ReadLittle32(riff + 4)));
  StreamSetup setup;
  bool haveHeader = false;
  bool haveMovie = false;
  ChunkHeader chunk;
  for (uint64_t at = 12; at + 8 <= end && ReadHeader(file_, at, chunk); at = NextChunk(chunk)) {
    // Only the header and frames lists are read, and they must be whole. Any
    // other chunk is skipped, so one cut short (a trailing index, say) only
    // ends the walk: nothing follows it.
    const bool whole = chunk.dataOffset + chunk.size <= end;
    uint8_t listType[4] = {};
    if (chunk.id == FourCC("LIST") && chunk.size >= 4 &&
        !ReadAt(file_, chunk.dataOffset, listType, sizeof listType)) {
      failure = "the file cannot be read";
      return false;
    }
    const bool headerList = chunk.id == FourCC("LIST") && ReadLittle32(listType) == FourCC("hdrl") && !haveHeader;
    const bool movieList =
        chunk.id == FourCC("LIST") && ReadLittle32(listType) == FourCC("movi") && haveHeader && !haveMovie;
    if (!headerList && !movieList) {
      if (!whole) {
        break;
      }
      continue;
    }
    if (!whole) {
      failure = "a chunk runs past the end of the file";
      return false;
    }
    if (headerList) {
      if (chunk.size > kMaximumHeaderBytes) {
        failure = "the header list is too large";
        return false;
      }
      std::vector<uint8_t> bytes(chunk.size);
      if (!ReadAt(file_, chunk.dataOffset, bytes.data(), bytes.size()) || !ReadHeaderList(bytes, setup, failure)) {
        if (failure.empty()) failure = "the file cannot be read";
        return false;
      }
      haveHeader = true;
    } else {
      width_ = setup.width;
      height_ = setup.height < 0 ? -setup.height : setup.height;
      bottomUp_ = setup.height > 0;
      bitsPerPixel_ = setup.bitsPerPixel;
      frameDuration_ = setup.frameDuration;
      frameScale_ = setup.frameScale;
      frameRate_ = setup.frameRate;
      hasSound_ = setup.haveSound;
      soundFormat_ = setup.soundFormat;
      if (!ReadMovieList(chunk.dataOffset + 4, chunk.dataOffset + chunk.size, setup.videoStream,
                         setup.soundStream, failure)) {
        return false;
      }
      haveMovie = true;
    }
  }
  if (!haveHeader || !haveMovie || frames_.empty()) {
    failure = "the movie has no header, no frames list or no frames";
    return false;
  }
  return true;
}

bool Movie::ReadMovieList(uint64_t begin, uint64_t end, uint32_t videoStream, uint32_t soundStream,
                          std::string& failure) {
  const uint32_t frameBytes = RowBytes(width_, bitsPerPixel_) * static_cast<uint32_t>(height_);
  ChunkHeader chunk;
  for (uint64_t at = begin; at + 8 <= end; at = NextChunk(chunk)) {
    if (!ReadHeader(file_, at, chunk) || chunk.dataOffset + chunk.size > end) {
      failure = "a frame chunk runs past its list";
      return false;
    }
    // Interleaved records group a frame with its sound; their chunks count as the list's own.
    if (chunk.id == FourCC("LIST")) {
      if (chunk.size >= 4 && !ReadMovieList(chunk.dataOffset + 4, chunk.dataOffset + chunk.size, videoStream,
                                            soundStream, failure)) {
        return false;
      }
      continue;
    }
    uint32_t stream = 0;
    uint32_t kind = 0;
    if (!StreamChunk(chunk.id, stream, kind)) {
      continue;
    }
    if (stream == videoStream && (kind == TwoCC('d', 'b') || kind == TwoCC('d', 'c'))) {
      if (chunk.size != 0 && chunk.size < frameBytes) {
        failure = "a video frame is shorter than the frame size";
        return false;
      }
      frames_.push_back({chunk.dataOffset, chunk.size == 0 ? 0 : frameBytes});
    } else if (hasSound_ && stream == soundStream && kind == TwoCC('w', 'b')) {
      if (sound_.size() + chunk.size > kMaximumSoundBytes) {
        failure = "the sound is too large";
        return false;
      }
      const size_t had = sound_.size();
      sound_.resize(had + chunk.size);
      if (!ReadAt(file_, chunk.dataOffset, sound_.data() + had, chunk.size)) {
        failure = "the sound cannot be read";
        return false;
      }
    }
  }
  return true;
}

uint64_t Movie::Duration() const {
  const unsigned __int128 ticks =
      static_cast<unsigned __int128>(frames_.size()) * frameScale_ * kTicksPerSecond / frameRate_;
  return static_cast<uint64_t>(std::min<unsigned __int128>(ticks, UINT64_MAX));
}

uint64_t Movie::FrameAt(uint64_t time) const {
  const unsigned __int128 frame =
      static_cast<unsigned __int128>(time) * frameRate_ / (static_cast<uint64_t>(frameScale_) * kTicksPerSecond);
  return static_cast<uint64_t>(std::min<unsigned __int128>(frame, UINT64_MAX));
}

SurfaceResult Movie::ReadFrame(uint32_t index, Surface& target) {
  if (index >= frames_.size() || target.Width() != width_ || target.Height() != height_) {
    return SurfaceResult::InvalidParameters;
  }
  const FrameChunk& frame = frames_[index];
  if (frame.size == 0) {
    return SurfaceResult::Ok;
  }
  frameBytes_.resize(frame.size);
  if (!ReadAt(file_, frame.offset, frameBytes_.data(), frame.size)) {
    return SurfaceResult::InvalidParameters;
  }
  SurfaceLock lock;
  const SurfaceResult locked = target.Lock(lock);
  if (locked != SurfaceResult::Ok) {
    return locked;
  }
  const PixelFormat& format = lock.format;
  const uint32_t targetBytes = format.BytesPerPixel();
  const uint32_t sourceRow = RowBytes(width_, bitsPerPixel_);
  const uint32_t sourceBytes = bitsPerPixel_ / 8u;
  for (int32_t y = 0; y < height_; ++y) {
    const int32_t storedRow = bottomUp_ ? height_ - 1 - y : y;
    const uint8_t* source = frameBytes_.data() + static_cast<size_t>(storedRow) * sourceRow;
    uint8_t* destination = lock.memory + static_cast<ptrdiff_t>(y) * lock.pitch;
    for (int32_t x = 0; x < width_; ++x, source += sourceBytes, destination += targetBytes) {
      uint32_t red = 0;
      uint32_t green = 0;
      uint32_t blue = 0;
      if (sourceBytes == 2) {  // 5/5/5
        const uint32_t pixel = ReadLittle16(source);
        red = ((pixel >> 10) & 0x1F) << 3;
        green = ((pixel >> 5) & 0x1F) << 3;
        blue = (pixel & 0x1F) << 3;
      } else {
        blue = source[0];
        green = source[1];
        red = source[2];
      }
      const uint32_t packed = PlaceChannel(red, format.redMask) | PlaceChannel(green, format.greenMask) |
                              PlaceChannel(blue, format.blueMask);
      for (uint32_t byte = 0; byte < targetBytes; ++byte) {
        destination[byte] = static_cast<uint8_t>(packed >> (8 * byte));
      }
    }
  }
  return target.Unlock();
}

}  // namespace platform
