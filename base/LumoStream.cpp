#include "base/LumoStream.h"

#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "base/DebugFormat.h"
#include "base/tBuffer.h"
#include "base/tString.h"
#include "runtime/DebugLog.h"

namespace {

constexpr char kSignature[4] = {'L', 'u', 'm', 'o'};
// Streams log each error they meet from the Extended debug level on.
bool StreamErrorsLogged() { return GetDebugLevel() >= DebugLevelExtended; }

// The byte order of raw floating-point values is fixed to little-endian, so
// the stored form does not depend on the host.
void StoreLittleEndian(uint64_t bits, uint8_t* bytes, uint32_t width) {
  for (uint32_t index = 0; index < width; ++index) {
    bytes[index] = static_cast<uint8_t>(bits >> (8 * index));
  }
}

uint64_t LoadLittleEndian(const uint8_t* bytes, uint32_t width) {
  uint64_t bits = 0;
  for (uint32_t index = 0; index < width; ++index) {
    bits |= static_cast<uint64_t>(bytes[index]) << (8 * index);
  }
  return bits;
}

}  // namespace

const char* StreamErrorText(uint32_t code) {
  switch (code) {
    case StreamNoError:
      return "";
    case StreamUnknownFailure:
      return "Unknown failure";
    case StreamCannotOpen:
      return "Cannot open stream";
    case StreamCannotClose:
      return "Cannot close stream";
    case StreamCannotWrite:
      return "Cannot write to stream";
    case StreamCannotRead:
      return "Cannot read from stream";
    case StreamCannotSeek:
      return "Cannot seek position";
    case StreamCannotFlush:
      return "Cannot flush stream";
    case StreamOutOfMemory:
      return "Out of memory";
    default:
      return "Unknown error";
  }
}

LumoStream::LumoStream() = default;
LumoStream::~LumoStream() = default;

const char* LumoStream::GetClassName() const { return "LumoStream"; }

const char* LumoStream::SetName(const char* text) {
  if (IsOpen()) {
    return Name;
  }
  return LumoList::SetName(text);
}

// ---- Error model ----

uint32_t LumoStream::SetError(uint32_t code) {
  errorCode = code;
  try {
    CatchError();
  } catch (...) {
    DebugPrint("LumoStream::SetError() Unhandled exception during CatchError() (Stream=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  }
  if (!SetStatus(errorCode != StreamNoError) || !StreamErrorsLogged()) {
    return errorCode;
  }
  DebugPrint("LumoStream::SetError() %s (", StreamErrorText(errorCode));
  if (Name != nullptr) {
    DebugPrint("Name=%s, ", Name);
  }
  DebugPrint("Data=%p", reinterpret_cast<const void*>(Data));
  try {
    DumpErrorDetails();
  } catch (...) {
    DebugPrint("\nLumoStream::SetError() Unhandled exception during DebugError() (Stream=%p:%s)\n",
               DebugAddress(this), DebugClassName(this));
  }
  DebugPrint(", Stream=%p:%s)\n", DebugAddress(this), DebugClassName(this));
  return errorCode;
}

void LumoStream::CatchError() {}
void LumoStream::DumpErrorDetails() {}

bool LumoStream::CheckResult(bool ok, uint32_t code) {
  SetError(ok ? StreamNoError : code);
  return ok;
}

bool LumoStream::SetStatus(bool isFailed) {
  failed = isFailed ? 1 : 0;
  return isFailed;
}

// ---- The medium (none in the base) ----

bool LumoStream::DoOpen() { return false; }
bool LumoStream::DoClose() { return false; }

bool LumoStream::DoRead(void*, uint32_t, uint32_t& read) {
  read = 0;
  return false;
}

bool LumoStream::DoWrite(const void*, uint32_t, uint32_t& written) {
  written = 0;
  return false;
}

int32_t LumoStream::DoSeek(int32_t, int32_t) { return 0; }

// Nothing to flush is a success, unless the stream is failing already.
bool LumoStream::DoFlush() { return !IsFailed(); }

uint32_t LumoStream::SetRecordOffset(uint32_t offset) {
  if (!IsOpen()) {
    recordOffset = offset > kMaxRecordOffset ? 0 : offset;
  }
  return recordOffset;
}

uint32_t LumoStream::SetRecordSize(int32_t size) {
  if (!IsOpen()) {
    recordSize = size > 0 ? static_cast<uint32_t>(size) : 0;
  }
  return recordSize;
}

bool LumoStream::SetVersion(uint32_t newVersion) {
  if (newVersion == 0) {
    return false;
  }
  version = newVersion;
  return true;
}

bool LumoStream::ReadHeader() {
  char signature[sizeof kSignature];
  if (!ReadBlock(signature, sizeof signature) || std::memcmp(signature, kSignature, sizeof kSignature) != 0) {
    return false;
  }
  uint32_t storedVersion = 0;
  return ReadCardinal(storedVersion) && SetVersion(storedVersion);
}

bool LumoStream::WriteHeader(uint32_t headerVersion) {
  if (headerVersion == 0) {
    headerVersion = version;
  }
  const bool written = WriteBlock(kSignature, sizeof kSignature) && WriteCardinal(headerVersion);
  SetVersion(headerVersion);
  return written;
}

// ---- Opening and positioning ----

bool LumoStream::Open(int32_t newRecordSize, uint32_t newRecordOffset) {
  if (IsOpen()) {
    Close();
  }
  SetRecordSize(newRecordSize);
  SetRecordOffset(newRecordOffset);
  open = CheckResult(DoOpen(), StreamCannotOpen) ? 1 : 0;
  return IsOpen();
}

bool LumoStream::Reopen() {
  if (IsOpen() && CheckResult(DoClose(), StreamCannotClose)) {
    open = 0;
  }
  if (IsOpen()) {
    return false;
  }
  open = CheckResult(DoOpen(), StreamCannotOpen) ? 1 : 0;
  return IsOpen();
}

bool LumoStream::Close() {
  if (IsOpen() && CheckResult(DoClose(), StreamCannotClose)) {
    open = 0;
  }
  return !IsOpen();
}

bool LumoStream::Read(void* buffer, uint32_t n, uint32_t& count) {
  count = 0;
  return CheckResult(DoRead(buffer, n, count), StreamCannotRead);
}

bool LumoStream::Write(const void* buffer, uint32_t n, uint32_t& count) {
  count = 0;
  return CheckResult(DoWrite(buffer, n, count), StreamCannotWrite);
}

bool LumoStream::ReadBlock(void* buffer, uint32_t n) {
  uint32_t count = 0;
  const bool ok = DoRead(buffer, n, count);
  return CheckResult(ok && count == n, StreamCannotRead);
}

bool LumoStream::WriteBlock(const void* buffer, uint32_t n) {
  uint32_t count = 0;
  const bool ok = DoWrite(buffer, n, count);
  return CheckResult(ok && count == n, StreamCannotWrite);
}

bool LumoStream::Peek(void* buffer, uint32_t n) {
  const int32_t start = GetPosition();
  if (start < 0) {
    return false;
  }
  const bool read = ReadBlock(buffer, n);
  return SetPosition(start) == start && read;
}

int32_t LumoStream::Seek(int32_t offset, int32_t origin) {
  const int32_t position = DoSeek(offset, origin);
  CheckResult(position != -1, StreamCannotSeek);
  return position;
}

int32_t LumoStream::GetPosition() { return Seek(0, SeekFromCurrent); }
int32_t LumoStream::SetPosition(int32_t position) { return Seek(position, SeekFromStart); }

int64_t LumoStream::GetBytesRemaining() {
  const int32_t current = DoSeek(0, SeekFromCurrent);
  if (current < 0) {
    return -1;
  }
  const int32_t end = DoSeek(0, SeekFromEnd);
  const int32_t back = DoSeek(current, SeekFromStart);
  if (end < 0 || back != current) {
    return -1;
  }
  return end > current ? static_cast<int64_t>(end) - current : 0;
}

int32_t LumoStream::GetRecordIndex() {
  const int32_t position = GetPosition();
  if (position < 0 || static_cast<uint32_t>(position) < recordOffset) {
    return -1;
  }
  // A record size of 0 (a compound entry opens with it) counts as 1.
  const uint32_t size = recordSize != 0 ? recordSize : 1;
  return static_cast<int32_t>((static_cast<uint32_t>(position) - recordOffset) / size);
}

int32_t LumoStream::SetRecordIndex(int32_t index) {
  if (index < 0) {
    return -1;
  }
  const uint64_t size = recordSize != 0 ? recordSize : 1;
  const uint64_t target = recordOffset + static_cast<uint64_t>(index) * size;
  if (target > static_cast<uint64_t>(INT32_MAX)) {
    SetError(StreamCannotSeek);
    return -1;
  }
  const int32_t position = static_cast<int32_t>(target);
  return SetPosition(position) == position ? index : -1;
}

bool LumoStream::Flush() { return CheckResult(DoFlush(), StreamCannotFlush); }

// ---- Values ----

bool LumoStream::ReadBigEndian(uint64_t& value, uint32_t width) {
  uint8_t bytes[8] = {};
  value = 0;
  if (!ReadBlock(bytes, width)) {
    return false;
  }
  for (uint32_t index = 0; index < width; ++index) {
    value = (value << 8) | bytes[index];
  }
  return true;
}

bool LumoStream::WriteBigEndian(uint64_t value, uint32_t width) {
  uint8_t bytes[8] = {};
  for (uint32_t index = 0; index < width; ++index) {
    bytes[width - 1 - index] = static_cast<uint8_t>(value >> (8 * index));
  }
  return WriteBlock(bytes, width);
}

bool LumoStream::ReadBool(bool& value) {
  uint8_t byte = 0;
  if (!ReadBlock(&byte, 1)) {
    return false;
  }
  value = byte != 0;
  return true;
}

bool LumoStream::ReadSignedByte(int8_t& value) {
  uint8_t byte = 0;
  if (!ReadBlock(&byte, 1)) {
    return false;
  }
  value = static_cast<int8_t>(byte);
  return true;
}

bool LumoStream::ReadByte(uint8_t& value) {
  uint8_t byte = 0;
  if (!ReadBlock(&byte, 1)) {
    return false;
  }
  value = byte;
  return true;
}

// The big-endian integer readers. The signed ones clear their target first
// and leave it cleared when the read fails; the unsigned ones leave it as it
// was.
template <typename Integer>
bool LumoStream::ReadBigEndianInteger(Integer& value) {
  if constexpr (std::is_signed_v<Integer>) {
    value = 0;
  }
  uint64_t bits = 0;
  if (!ReadBigEndian(bits, sizeof(Integer))) {
    return false;
  }
  value = static_cast<Integer>(static_cast<std::make_unsigned_t<Integer>>(bits));
  return true;
}

bool LumoStream::ReadShortInt(int16_t& value) { return ReadBigEndianInteger(value); }
bool LumoStream::ReadWord(uint16_t& value) { return ReadBigEndianInteger(value); }
bool LumoStream::ReadInteger(int32_t& value) { return ReadBigEndianInteger(value); }
bool LumoStream::ReadCardinal(uint32_t& value) { return ReadBigEndianInteger(value); }
bool LumoStream::ReadLong64(int64_t& value) { return ReadBigEndianInteger(value); }

bool LumoStream::ReadSingle(float& value) {
  uint8_t bytes[4];
  if (!ReadBlock(bytes, sizeof bytes)) {
    return false;
  }
  value = std::bit_cast<float>(static_cast<uint32_t>(LoadLittleEndian(bytes, 4)));
  return true;
}

bool LumoStream::ReadDouble(double& value) {
  uint8_t bytes[8];
  if (!ReadBlock(bytes, sizeof bytes)) {
    return false;
  }
  value = std::bit_cast<double>(LoadLittleEndian(bytes, 8));
  return true;
}

bool LumoStream::Read4Bytes(void* bytes) {
  uint8_t read[4];
  if (bytes == nullptr || !ReadBlock(read, sizeof read)) {
    return false;
  }
  std::memcpy(bytes, read, sizeof read);
  return true;
}

bool LumoStream::WriteSignedByte(int8_t value) {
  const auto byte = static_cast<uint8_t>(value);
  return WriteBlock(&byte, 1);
}

bool LumoStream::WriteByte(uint8_t value) { return WriteBlock(&value, 1); }
bool LumoStream::WriteShortInt(int16_t value) { return WriteBigEndian(static_cast<uint16_t>(value), 2); }
bool LumoStream::WriteWord(uint16_t value) { return WriteBigEndian(value, 2); }
bool LumoStream::WriteInteger(int32_t value) { return WriteBigEndian(static_cast<uint32_t>(value), 4); }
bool LumoStream::WriteCardinal(uint32_t value) { return WriteBigEndian(value, 4); }
bool LumoStream::WriteLong64(int64_t value) { return WriteBigEndian(static_cast<uint64_t>(value), 8); }

bool LumoStream::WriteSingle(float value) {
  uint8_t bytes[4];
  StoreLittleEndian(std::bit_cast<uint32_t>(value), bytes, 4);
  return WriteBlock(bytes, sizeof bytes);
}

bool LumoStream::WriteDouble(double value) {
  uint8_t bytes[8];
  StoreLittleEndian(std::bit_cast<uint64_t>(value), bytes, 8);
  return WriteBlock(bytes, sizeof bytes);
}

bool LumoStream::Write4Bytes(const void* bytes) { return bytes != nullptr && WriteBlock(bytes, 4); }

// ---- Length-prefixed texts and blocks ----

bool LumoStream::ReadLength(uint32_t& length) {
  length = 0;
  uint32_t stored = 0;
  if (!ReadCardinal(stored)) {
    return false;
  }
  const int64_t remaining = GetBytesRemaining();
  const int64_t bound = remaining >= 0 && remaining < kMaxStreamBlock ? remaining : kMaxStreamBlock;
  if (stored > bound) {
    DebugPrint("LumoStream::ReadLength() Stored length %u exceeds the %lld bytes the stream can give (Stream=%p:%s)\n",
               stored, static_cast<long long>(bound), DebugAddress(this), DebugClassName(this));
    SetError(StreamCannotRead);
    return false;
  }
  length = stored;
  return true;
}

// The readers of counted values: a stored length, then that many bytes into
// storage that allocate makes for the length; release undoes it when the
// bytes fall short. A length of 0 reads nothing and succeeds.
template <typename Allocate, typename Release>
bool LumoStream::ReadCounted(uint32_t& length, Allocate allocate, Release release) {
  length = 0;
  if (!ReadLength(length)) {
    return false;
  }
  if (length == 0) {
    return true;
  }
  void* destination = allocate(length);
  if (destination == nullptr) {
    SetError(StreamCannotRead);
    return false;
  }
  if (!ReadBlock(destination, length)) {
    release();
    return false;
  }
  return true;
}

bool LumoStream::ReadCharStr(tCharStr& text) {
  FreeCharStr(text);
  uint32_t length = 0;
  if (!ReadCounted(
          length, [&](uint32_t size) -> void* { return AllocText(text, size); }, [&] { FreeCharStr(text); })) {
    return false;
  }
  if (length > 0) {
    text[length] = '\0';
  }
  return true;
}

bool LumoStream::ReadString(tString& text) {
  text.Empty();
  uint32_t length = 0;
  const bool read = ReadCounted(
      length,
      [&](uint32_t size) -> void* {
        return text.SetLength(static_cast<int32_t>(size)) ? text.text : nullptr;
      },
      [&] { text.Empty(); });
  // A NUL inside the stored bytes ends the text.
  if (read && length > 0) {
    text.SyncLength();
  }
  return read;
}

bool LumoStream::ReadBuffer(tBuffer& buffer) {
  buffer.Empty();
  uint32_t length = 0;
  return ReadCounted(
      length,
      [&](uint32_t size) -> void* {
        const auto wanted = static_cast<int32_t>(size);
        return buffer.SetLength(wanted) == wanted ? buffer.data : nullptr;
      },
      [&] { buffer.Empty(); });
}

bool LumoStream::ReadData(void*& block, uint32_t& size) {
  FreeBlock(block);
  size = 0;
  uint32_t length = 0;
  if (!ReadCounted(
          length, [&](uint32_t wanted) { return AllocBlock(block, wanted); }, [&] { FreeBlock(block); })) {
    return false;
  }
  size = length;
  return true;
}

bool LumoStream::WriteCharStr(const char* text) {
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  return WriteData(text, static_cast<uint32_t>(length));
}

bool LumoStream::WriteString(const tString& text) {
  return WriteData(text.text, text.text != nullptr ? static_cast<uint32_t>(text.length) : 0);
}

bool LumoStream::WriteBuffer(const tBuffer& buffer) {
  return WriteData(buffer.data, buffer.data != nullptr ? static_cast<uint32_t>(buffer.length) : 0);
}

bool LumoStream::WriteData(const void* block, uint32_t size) {
  if (block == nullptr) {
    size = 0;
  }
  return WriteCardinal(size) && (size == 0 || WriteBlock(block, size));
}

// ---- Embedded objects ----

bool LumoStream::ReadObject(LumoObject*& object, LumoObject* owner) {
  bool present = false;
  if (!ReadBool(present)) {
    return false;
  }
  if (!present) {
    return true;
  }
  LumoObject* loaded = LoadObject(this, owner);
  if (loaded == nullptr) {
    return false;
  }
  object = loaded;
  return true;
}

bool LumoStream::WriteObject(LumoObject* object) {
  if (!WriteSignedByte(object != nullptr ? 1 : 0)) {
    return false;
  }
  return object == nullptr || object->SaveObject(this, 0);
}

// ---- Texts without a length prefix ----

bool LumoStream::WriteChars(const char* text) {
  if (text == nullptr) {
    return false;
  }
  return WriteBlock(text, static_cast<uint32_t>(std::strlen(text)));
}

bool LumoStream::WindBackTo(int32_t position) { return position >= 0 && SetPosition(position) == position; }

int32_t LumoStream::ReadCText(char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  const int32_t start = GetPosition();
  uint32_t count = 0;
  if (start < 0 || !Read(buffer, static_cast<uint32_t>(size), count) || count == 0) {
    return 0;
  }
  const auto* terminator = static_cast<const char*>(std::memchr(buffer, '\0', count));
  const int32_t length = terminator != nullptr ? static_cast<int32_t>(terminator - buffer) : static_cast<int32_t>(count);
  if (terminator != nullptr && !WindBackTo(start + length + 1)) {
    return 0;
  }
  if (length < size) {
    buffer[length] = '\0';
  }
  return length;
}

bool LumoStream::ReadOneByte(char& character) { return ReadBlock(&character, 1); }

int32_t LumoStream::ReadCTextBytewise(char* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity <= 0) {
    return 0;
  }
  int32_t stored = 0;
  char character = '\0';
  while (ReadOneByte(character) && character != '\0') {
    if (stored < capacity - 1) {
      buffer[stored++] = character;
    }
  }
  buffer[stored] = '\0';
  return stored;
}

int32_t LumoStream::ReadLine(char* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity <= 0) {
    return 0;
  }
  int32_t stored = 0;
  char character = '\0';
  while (ReadOneByte(character) && character != '\0' && character != '\n') {
    if (character != '\r' && stored < capacity - 1) {
      buffer[stored++] = character;
    }
  }
  buffer[stored] = '\0';
  return stored;
}

int32_t LumoStream::ReadLineBounded(char* buffer, int32_t size, bool stopAtLineFeed) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  const int32_t start = GetPosition();
  uint32_t count = 0;
  if (start < 0 || !Read(buffer, static_cast<uint32_t>(size), count) || count == 0) {
    return 0;
  }
  // Copied in place: the copy never runs ahead of the bytes read.
  int32_t stored = 0;
  int32_t ending = -1;  // the index of the character that ended the copy
  for (int32_t index = 0; index < static_cast<int32_t>(count); ++index) {
    const char character = buffer[index];
    if (character == '\r') {
      continue;
    }
    if (character == '\0' || (character == '\n' && stopAtLineFeed)) {
      ending = index;
      break;
    }
    buffer[stored++] = character;
  }
  if (stored < size) {
    buffer[stored] = '\0';
  }
  if (ending >= 0 && !WindBackTo(start + ending + 1)) {
    return 0;
  }
  return stored;
}

bool LumoStream::WriteText(const char* text, bool newline) {
  if (text == nullptr) {
    return false;
  }
  static constexpr char kLineEnd[2] = {'\r', '\n'};
  for (const char* run = text; *run != '\0';) {
    const size_t runLength = std::strcspn(run, "\n");
    if (runLength > 0 && !WriteBlock(run, static_cast<uint32_t>(runLength))) {
      return false;
    }
    run += runLength;
    if (*run == '\n') {
      if (!WriteBlock(kLineEnd, sizeof kLineEnd)) {
        return false;
      }
      ++run;
    }
  }
  return !newline || WriteBlock(kLineEnd, sizeof kLineEnd);
}

bool LumoStream::Print(const char* format, ...) {
  if (format == nullptr) {
    return false;
  }
  char text[kStreamPrintBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return WriteText(text, false);
}

bool LumoStream::WriteRepeated(uint8_t value, int32_t n) {
  uint8_t run[256];
  std::memset(run, value, sizeof run);
  while (n > 0) {
    const int32_t chunk = n < static_cast<int32_t>(sizeof run) ? n : static_cast<int32_t>(sizeof run);
    if (!WriteBlock(run, static_cast<uint32_t>(chunk))) {
      return false;
    }
    n -= chunk;
  }
  return true;
}
