#pragma once

#include <cstdint>

#include "base/LumoClass.h"
#include "base/LumoList.h"
#include "base/TextUtils.h"

class tBuffer;
class tString;

// The abstract byte stream through which every object of the system is saved
// and loaded. It fixes the byte form of every value type (integers
// big-endian, floating-point values as their raw little-endian bytes, texts
// and blocks as a big-endian u32 length and the bytes), the 8-byte header that
// opens each object record, text lines, and one error model for every
// concrete stream. The game program lends streams to the logic library, so
// the layout and the order of the virtual operations are one contract between
// the deliverables.
//
// No operation throws: each answers false (-1 for positions and record
// indexes, 0 for counts) and leaves the reason in errorCode.

// ---- Error codes ----

enum tStreamError : uint32_t {
  StreamNoError = 0,
  StreamUnknownFailure = 1,  // the state of a new stream
  StreamCannotOpen = 2,
  StreamCannotClose = 3,
  StreamCannotWrite = 4,
  StreamCannotRead = 5,
  StreamCannotSeek = 6,
  StreamCannotFlush = 7,
  StreamOutOfMemory = 8,  // a memory stream could not grow
};

// The error's text ("Cannot read from stream"); "" for no error.
const char* StreamErrorText(uint32_t code);

// ---- Seek origins ----

enum tSeekOrigin : int32_t {
  SeekFromStart = 0,
  SeekFromCurrent = 1,
  SeekFromEnd = 2,
};

// The version a new stream carries.
constexpr uint32_t kStreamDefaultVersion = kVersion_1_7_8_0;
// The largest text or block a stream hands out, also the bound for streams
// that cannot tell how many bytes they have left: a damaged length never
// makes the game allocate gigabytes.
constexpr uint32_t kMaxStreamBlock = 256u << 20;
// The largest record offset; a larger one is stored as 0.
constexpr uint32_t kMaxRecordOffset = 0x7FFFFFFF;
// The size of the formatting buffer of Print, terminator included.
constexpr int kStreamPrintBufferSize = 4096;

class LumoStream : public LumoList {
 public:
  LumoStream();
  ~LumoStream() override;

  const char* GetClassName() const override;
  // While the stream is open its name stays; answers the name in force.
  const char* SetName(const char* text) override;

  // ---- The stream's own virtual operations, in their fixed order ----

  // Stores the code, runs CatchError, sets the failed flag and, from the
  // Extended debug level on, logs the error. Answers the code.
  virtual uint32_t SetError(uint32_t code);
  // A concrete stream records its medium's own error code here.
  virtual void CatchError();
  // A concrete stream adds its own details to the error's log line.
  virtual void DumpErrorDetails();
  // SetError(0) when ok, else SetError(code); answers ok.
  virtual bool CheckResult(bool ok, uint32_t code);
  // Stores and answers the failed flag.
  virtual bool SetStatus(bool isFailed);
  // The medium's operations; the base has no medium and fails them.
  virtual bool DoOpen();
  virtual bool DoClose();
  // One transfer of up to count bytes; read (written) receives the count
  // moved. Reading at the end succeeds with a count of 0.
  virtual bool DoRead(void* buffer, uint32_t count, uint32_t& read);
  virtual bool DoWrite(const void* buffer, uint32_t count, uint32_t& written);
  // Moves to offset from the origin (a tSeekOrigin); answers the new
  // position, -1 on failure.
  virtual int32_t DoSeek(int32_t offset, int32_t origin);
  // A stream without a flush step has nothing to flush: it answers whether
  // it is in a healthy state.
  virtual bool DoFlush();
  // Record settings change only while closed; each answers the value in
  // force. An offset above kMaxRecordOffset is stored as 0, a size of 0 or
  // less as 0.
  virtual uint32_t SetRecordOffset(uint32_t offset);
  virtual uint32_t SetRecordSize(int32_t size);
  // 0 is refused (false, the version kept).
  virtual bool SetVersion(uint32_t newVersion);
  // Reads "Lumo" and a big-endian version, which becomes the stream's; a
  // different signature or a version of 0 fails.
  virtual bool ReadHeader();
  // Writes "Lumo" and the version (0: the stream's own), which becomes the
  // stream's.
  virtual bool WriteHeader(uint32_t headerVersion);

  // ---- Opening and positioning ----

  // Sets the record settings, then opens the medium. A stream that is open
  // already is closed first.
  bool Open(int32_t newRecordSize, uint32_t newRecordOffset);
  // Closes when open, then opens again with the record settings in force.
  bool Reopen();
  // Answers true when the stream is closed afterwards.
  bool Close();
  bool IsOpen() const { return open != 0; }
  bool IsFailed() const { return failed != 0; }

  // One transfer; partial counts are allowed.
  bool Read(void* buffer, uint32_t n, uint32_t& count);
  bool Write(const void* buffer, uint32_t n, uint32_t& count);
  // True only when exactly n bytes moved.
  bool ReadBlock(void* buffer, uint32_t n);
  bool WriteBlock(const void* buffer, uint32_t n);
  // Reads n bytes and winds back to where it stood; true only when all n
  // bytes were there. Readers use it to test for an optional marker.
  bool Peek(void* buffer, uint32_t n);

  // Answers the new position, -1 on failure (error "Cannot seek position").
  int32_t Seek(int32_t offset, int32_t origin);
  int32_t GetPosition();
  int32_t SetPosition(int32_t position);
  // The bytes between the position and the end, asked of the medium without
  // touching the error state; -1 when the stream cannot tell.
  int64_t GetBytesRemaining();

  // -1 before the record offset, else the record under the position.
  int32_t GetRecordIndex();
  // Seeks to the record; answers index when it arrived there, else -1.
  int32_t SetRecordIndex(int32_t index);
  bool Flush();

  // ---- Values ----

  // Any non-zero byte reads as true.
  bool ReadBool(bool& value);
  bool ReadSignedByte(int8_t& value);
  bool ReadByte(uint8_t& value);
  // The signed readers clear the target first; after a failure it stays 0.
  bool ReadShortInt(int16_t& value);
  bool ReadWord(uint16_t& value);
  bool ReadInteger(int32_t& value);
  bool ReadCardinal(uint32_t& value);
  bool ReadLong64(int64_t& value);
  bool ReadSingle(float& value);
  bool ReadDouble(double& value);
  // Four raw bytes, not swapped.
  bool Read4Bytes(void* bytes);

  bool WriteSignedByte(int8_t value);
  // A bool as the signed byte 1 or 0.
  bool WriteBool(bool value) { return WriteSignedByte(value ? 1 : 0); }
  bool WriteByte(uint8_t value);
  bool WriteShortInt(int16_t value);
  bool WriteWord(uint16_t value);
  bool WriteInteger(int32_t value);
  bool WriteCardinal(uint32_t value);
  bool WriteLong64(int64_t value);
  bool WriteSingle(float value);
  bool WriteDouble(double value);
  bool Write4Bytes(const void* bytes);

  // ---- Length-prefixed texts and blocks ----
  // A stored length larger than what the stream has left (or than
  // kMaxStreamBlock) is refused before anything is allocated.

  // Frees the old text first; a length of 0 reads back as no text (null).
  bool ReadCharStr(tCharStr& text);
  // The target is emptied on failure.
  bool ReadString(tString& text);
  bool ReadBuffer(tBuffer& buffer);
  // The old block (a malloc block, or null) is freed first; the new one is
  // the caller's, to free with FreeBlock. Length 0 gives null and size 0.
  bool ReadData(void*& block, uint32_t& size);
  // A null or empty text is written as the length 0.
  bool WriteCharStr(const char* text);
  bool WriteString(const tString& text);
  bool WriteBuffer(const tBuffer& buffer);
  bool WriteData(const void* block, uint32_t size);

  // ---- Embedded objects: a presence byte, then a whole object record ----

  // With no object present it succeeds and leaves object untouched; else
  // object becomes the loaded one (registered with owner when given). The
  // previous value of object is not freed here.
  bool ReadObject(LumoObject*& object, LumoObject* owner = nullptr);
  // A null object is written as the presence byte 0.
  bool WriteObject(LumoObject* object);

  // ---- Texts without a length prefix ----

  // The bytes of the text without terminator or length.
  bool WriteChars(const char* text);
  // Reads up to size bytes at once; the text ends at the first NUL read, and
  // the stream is wound back to just behind it. The text is terminated when
  // shorter than size. Answers its length; 0 when nothing was read or the
  // winding back failed.
  int32_t ReadCText(char* buffer, int32_t size);
  // Reads single bytes up to and including a NUL; at most capacity - 1 are
  // stored (the rest of a longer text is read and dropped) and the text is
  // terminated. Answers the count stored.
  int32_t ReadCTextBytewise(char* buffer, int32_t capacity);
  // Reads single bytes: carriage returns are dropped, a line feed or a NUL
  // ends the line, a failed read ends it as a NUL does. At most capacity - 1
  // characters are stored (the rest of a longer line is read and dropped);
  // the line is terminated. Answers the count stored.
  int32_t ReadLine(char* buffer, int32_t capacity);
  // Reads up to size bytes at once and copies them without carriage
  // returns, stopping at a NUL, or at a line feed when stopAtLineFeed is set
  // (it then becomes the terminator; otherwise it stays in the copy). The
  // copy is terminated when shorter than size, and the stream is wound back
  // to just behind the character that ended it. Answers the count stored.
  int32_t ReadLineBounded(char* buffer, int32_t size, bool stopAtLineFeed);
  // Each line feed is written as carriage return and line feed; with
  // newline set a carriage return and line feed end the text.
  bool WriteText(const char* text, bool newline);
  // printf-style into a 4,096-byte buffer (longer output is cut), written as
  // WriteText does without a newline of its own.
  bool Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The byte value, n times.
  bool WriteRepeated(uint8_t value, int32_t n);

  uint32_t recordOffset = 0;  // where record 0 begins
  uint32_t recordSize = 1;    // bytes per record; 0 counts as 1 when used
  uint32_t errorCode = StreamUnknownFailure;
  uint32_t version = kStreamDefaultVersion;  // never 0
  uint8_t failed = 1;
  uint8_t open = 0;

 private:
  // Reads a stored length and refuses one larger than what is left.
  bool ReadLength(uint32_t& length);
  // Big-endian integers of width bytes, widened to 64 bits.
  bool ReadBigEndian(uint64_t& value, uint32_t width);
  bool WriteBigEndian(uint64_t value, uint32_t width);
  template <typename Integer>
  bool ReadBigEndianInteger(Integer& value);
  template <typename Allocate, typename Release>
  bool ReadCounted(uint32_t& length, Allocate allocate, Release release);
  // A line reader's byte; false at the end or on a failed read.
  bool ReadOneByte(char& character);
  // Winds back to position; false (and nothing stored) when that fails.
  bool WindBackTo(int32_t position);
};
