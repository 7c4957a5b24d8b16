#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "StreamBytes.h"
#include "base/LumoMemoryStream.h"
#include "base/tBuffer.h"
#include "base/tString.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace stream_testing {
namespace {

// ---- Error model ----

TEST(ObjectStreamTest, NewStreamReportsUnknownFailureUntilItsFirstSuccess) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.IsFailed());
  EXPECT_EQ(stream.errorCode, StreamUnknownFailure);
  EXPECT_STREQ(StreamErrorText(stream.errorCode), "Unknown failure");
  EXPECT_EQ(stream.version, 0x1070800u);
  EXPECT_FALSE(stream.IsOpen());

  Bytes block(4, 0);
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 4, 1, 0));
  EXPECT_FALSE(stream.IsFailed());
  EXPECT_EQ(stream.errorCode, StreamNoError);
}

TEST(ObjectStreamTest, EachFailureLeavesItsOwnCodeAndAnySuccessClearsIt) {
  Bytes block(2, 0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 2, 1, 0));
  int32_t value = 0;
  EXPECT_FALSE(stream.ReadInteger(value));
  EXPECT_EQ(stream.errorCode, StreamCannotRead);
  EXPECT_EQ(stream.SetPosition(0), 0);
  EXPECT_EQ(stream.errorCode, StreamNoError);
  EXPECT_FALSE(stream.WriteInteger(1));
  EXPECT_EQ(stream.errorCode, StreamCannotWrite);
  EXPECT_EQ(stream.Seek(-1, SeekFromStart), -1);
  EXPECT_EQ(stream.errorCode, StreamCannotSeek);
  EXPECT_TRUE(stream.IsFailed());
  EXPECT_TRUE(stream.Close());
  EXPECT_FALSE(stream.IsFailed());
  EXPECT_STREQ(StreamErrorText(99), "Unknown error");
}

TEST(ObjectStreamTest, ErrorsAreLoggedFromTheExtendedDebugLevelOn) {
  const struct {
    tDebugLevel level;
    bool logged;
  } cases[] = {{DebugLevelStandard, false}, {DebugLevelMedium, false}, {DebugLevelExtended, true}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.level);
    Bytes block(2, 0);
    LumoMemoryStream stream;
    stream.SetName("probe");
    ASSERT_TRUE(stream.OpenBuffer(block.data(), 2, 1, 0));
    ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    const tDebugLevel previous = GetDebugLevel();
    SetDebugLevel(test.level);
    int32_t value = 0;
    EXPECT_FALSE(stream.ReadInteger(value));
    SetDebugLevel(previous);
    SetDebugMode(DebugModeOff);
    char line[256];
    std::snprintf(line, sizeof line,
                  "LumoStream::SetError() Cannot read from stream (Name=probe, Data=(nil), Stream=%p:LumoMemoryStream)\n",
                  static_cast<void*>(&stream));
    EXPECT_EQ(testing_support::ReadDebugLog(), test.logged ? std::string(line) : std::string());
  }
}

TEST(ObjectStreamTest, OpenStreamKeepsItsNameAndRecordSettings) {
  Bytes block(8, 0);
  LumoMemoryStream stream;
  stream.SetName("first");
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 8, 2, 4));
  EXPECT_STREQ(stream.SetName("second"), "first");
  EXPECT_EQ(stream.SetRecordSize(7), 2u);
  EXPECT_EQ(stream.SetRecordOffset(1), 4u);
  ASSERT_TRUE(stream.Close());
  EXPECT_STREQ(stream.SetName("second"), "second");
  EXPECT_EQ(stream.SetRecordSize(-3), 0u);
  EXPECT_EQ(stream.SetRecordOffset(0x80000000u), 0u);
}

TEST(ObjectStreamTest, RecordIndexFollowsOffsetAndSize) {
  Bytes block(20, 0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 20, 4, 6));
  EXPECT_EQ(stream.GetRecordIndex(), -1);  // before the record offset
  EXPECT_EQ(stream.SetRecordIndex(2), 2);
  EXPECT_EQ(stream.GetPosition(), 14);
  EXPECT_EQ(stream.SetRecordIndex(-1), -1);
  EXPECT_EQ(stream.SetRecordIndex(4), -1);  // 22 lies beyond the block
  // A record size of 0 counts as 1 rather than dividing by zero.
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 20, 0, 6));
  EXPECT_EQ(stream.recordSize, 0u);
  EXPECT_EQ(stream.SetPosition(9), 9);
  EXPECT_EQ(stream.GetRecordIndex(), 3);
}

// ---- Golden bytes of every encoding ----

struct EncodingCase {
  const char* name;
  std::function<bool(LumoStream&)> write;
  Bytes bytes;
  // Reads the value back from those bytes and checks it.
  std::function<void(LumoStream&)> readBack;
};

TEST(ObjectStreamTest, EveryEncodingWritesItsGoldenBytesAndReadsThemBack) {
  static char fourBytes[4] = {'a', 'b', 'c', 'd'};
  const EncodingCase cases[] = {
      {"signed byte", [](LumoStream& s) { return s.WriteSignedByte(-2); }, BytesOf({0xFE}),
       [](LumoStream& s) { int8_t v = 0; ASSERT_TRUE(s.ReadSignedByte(v)); EXPECT_EQ(v, -2); }},
      {"byte", [](LumoStream& s) { return s.WriteByte(0xAB); }, BytesOf({0xAB}),
       [](LumoStream& s) { uint8_t v = 0; ASSERT_TRUE(s.ReadByte(v)); EXPECT_EQ(v, 0xAB); }},
      {"bool", [](LumoStream& s) { return s.WriteBool(true); }, BytesOf({0x01}),
       [](LumoStream& s) { bool v = false; ASSERT_TRUE(s.ReadBool(v)); EXPECT_TRUE(v); }},
      {"short int", [](LumoStream& s) { return s.WriteShortInt(0x1234); }, BytesOf({0x12, 0x34}),
       [](LumoStream& s) { int16_t v = 0; ASSERT_TRUE(s.ReadShortInt(v)); EXPECT_EQ(v, 0x1234); }},
      {"negative short int", [](LumoStream& s) { return s.WriteShortInt(-2); }, BytesOf({0xFF, 0xFE}),
       [](LumoStream& s) { int16_t v = 0; ASSERT_TRUE(s.ReadShortInt(v)); EXPECT_EQ(v, -2); }},
      {"word", [](LumoStream& s) { return s.WriteWord(0xFEDC); }, BytesOf({0xFE, 0xDC}),
       [](LumoStream& s) { uint16_t v = 0; ASSERT_TRUE(s.ReadWord(v)); EXPECT_EQ(v, 0xFEDC); }},
      {"integer", [](LumoStream& s) { return s.WriteInteger(1); }, BytesOf({0, 0, 0, 1}),
       [](LumoStream& s) { int32_t v = 0; ASSERT_TRUE(s.ReadInteger(v)); EXPECT_EQ(v, 1); }},
      {"negative integer", [](LumoStream& s) { return s.WriteInteger(-2); }, BytesOf({0xFF, 0xFF, 0xFF, 0xFE}),
       [](LumoStream& s) { int32_t v = 0; ASSERT_TRUE(s.ReadInteger(v)); EXPECT_EQ(v, -2); }},
      {"cardinal", [](LumoStream& s) { return s.WriteCardinal(0x89ABCDEF); }, BytesOf({0x89, 0xAB, 0xCD, 0xEF}),
       [](LumoStream& s) { uint32_t v = 0; ASSERT_TRUE(s.ReadCardinal(v)); EXPECT_EQ(v, 0x89ABCDEFu); }},
      {"long 64", [](LumoStream& s) { return s.WriteLong64(0x0102030405060708); },
       BytesOf({1, 2, 3, 4, 5, 6, 7, 8}),
       [](LumoStream& s) { int64_t v = 0; ASSERT_TRUE(s.ReadLong64(v)); EXPECT_EQ(v, 0x0102030405060708); }},
      {"single", [](LumoStream& s) { return s.WriteSingle(1.0f); }, BytesOf({0x00, 0x00, 0x80, 0x3F}),
       [](LumoStream& s) { float v = 0; ASSERT_TRUE(s.ReadSingle(v)); EXPECT_EQ(v, 1.0f); }},
      {"double", [](LumoStream& s) { return s.WriteDouble(-2.5); }, BytesOf({0, 0, 0, 0, 0, 0, 0x04, 0xC0}),
       [](LumoStream& s) { double v = 0; ASSERT_TRUE(s.ReadDouble(v)); EXPECT_EQ(v, -2.5); }},
      {"four bytes", [](LumoStream& s) { return s.Write4Bytes(fourBytes); }, BytesOfText("abcd"),
       [](LumoStream& s) { char v[4] = {}; ASSERT_TRUE(s.Read4Bytes(v)); EXPECT_EQ(std::memcmp(v, "abcd", 4), 0); }},
      {"text", [](LumoStream& s) { return s.WriteCharStr("Hi"); }, BytesOf({0, 0, 0, 2, 'H', 'i'}),
       [](LumoStream& s) {
         tCharStr v = nullptr;
         ASSERT_TRUE(s.ReadCharStr(v));
         EXPECT_STREQ(v, "Hi");
         FreeCharStr(v);
       }},
      {"empty text", [](LumoStream& s) { return s.WriteCharStr(""); }, BytesOf({0, 0, 0, 0}),
       [](LumoStream& s) {
         tCharStr v = nullptr;
         SetCharStr(v, "old");
         ASSERT_TRUE(s.ReadCharStr(v));
         EXPECT_EQ(v, nullptr);  // no text
       }},
      {"null text", [](LumoStream& s) { return s.WriteCharStr(nullptr); }, BytesOf({0, 0, 0, 0}), nullptr},
      {"string", [](LumoStream& s) { return s.WriteString(tString("abc")); }, BytesOf({0, 0, 0, 3, 'a', 'b', 'c'}),
       [](LumoStream& s) { tString v; ASSERT_TRUE(s.ReadString(v)); EXPECT_STREQ(v.text, "abc"); EXPECT_EQ(v.length, 3); }},
      {"buffer", [](LumoStream& s) { return s.WriteBuffer(tBuffer("\x00\x01", 2)); }, BytesOf({0, 0, 0, 2, 0, 1}),
       [](LumoStream& s) {
         tBuffer v;
         ASSERT_TRUE(s.ReadBuffer(v));
         ASSERT_EQ(v.length, 2);
         EXPECT_EQ(v.data[1], 1);
       }},
      {"data", [](LumoStream& s) { return s.WriteData("xyz", 3); }, BytesOf({0, 0, 0, 3, 'x', 'y', 'z'}),
       [](LumoStream& s) {
         void* block = nullptr;
         uint32_t size = 0;
         ASSERT_TRUE(s.ReadData(block, size));
         ASSERT_EQ(size, 3u);
         EXPECT_EQ(std::memcmp(block, "xyz", 3), 0);
         FreeBlock(block);
       }},
      {"header of a new stream", [](LumoStream& s) { return s.WriteHeader(0); },
       BytesOf({'L', 'u', 'm', 'o', 0x01, 0x07, 0x08, 0x00}),
       [](LumoStream& s) { s.SetVersion(5); ASSERT_TRUE(s.ReadHeader()); EXPECT_EQ(s.version, 0x1070800u); }},
      {"header with a version", [](LumoStream& s) { return s.WriteHeader(0x1040000) && s.version == 0x1040000; },
       BytesOf({'L', 'u', 'm', 'o', 0x01, 0x04, 0x00, 0x00}), nullptr},
      {"no object", [](LumoStream& s) { return s.WriteObject(nullptr); }, BytesOf({0}),
       [](LumoStream& s) {
         LumoObject* v = nullptr;
         ASSERT_TRUE(s.ReadObject(v));
         EXPECT_EQ(v, nullptr);
       }},
      {"characters", [](LumoStream& s) { return s.WriteChars("xyz"); }, BytesOfText("xyz"), nullptr},
      {"text with line ends", [](LumoStream& s) { return s.WriteText("a\nb", true); },
       BytesOf({'a', 13, 10, 'b', 13, 10}), nullptr},
      {"printed text", [](LumoStream& s) { return s.Print("%d-%s\n", 7, "x"); }, BytesOf({'7', '-', 'x', 13, 10}),
       nullptr},
      {"repeated byte", [](LumoStream& s) { return s.WriteRepeated(' ', 3); }, BytesOfText("   "), nullptr},
  };
  for (const EncodingCase& test : cases) {
    SCOPED_TRACE(test.name);
    ByteWriter writer;
    EXPECT_TRUE(test.write(writer.stream));
    EXPECT_EQ(writer.Written(), test.bytes);
    if (test.readBack) {
      ByteReader reader(test.bytes);
      test.readBack(reader.stream);
      EXPECT_EQ(reader.stream.GetBytesRemaining(), 0);
    }
  }
}

TEST(ObjectStreamTest, AnyNonZeroByteReadsAsTrue) {
  ByteReader reader(BytesOf({0x00, 0x7F, 0xFF}));
  bool values[3] = {true, false, false};
  for (bool& value : values) {
    ASSERT_TRUE(reader.stream.ReadBool(value));
  }
  EXPECT_FALSE(values[0]);
  EXPECT_TRUE(values[1]);
  EXPECT_TRUE(values[2]);
}

TEST(ObjectStreamTest, ShortReadFailsAndLeavesSignedTargetsCleared) {
  ByteReader reader(BytesOf({0x12, 0x34, 0x56}));
  int32_t integer = 77;
  EXPECT_FALSE(reader.stream.ReadInteger(integer));
  EXPECT_EQ(integer, 0);
  EXPECT_EQ(reader.stream.errorCode, StreamCannotRead);
  ASSERT_EQ(reader.stream.SetPosition(1), 1);
  int64_t long64 = 77;
  EXPECT_FALSE(reader.stream.ReadLong64(long64));
  EXPECT_EQ(long64, 0);
}

// ---- Stored lengths are bounded by what the stream holds ----

struct LengthCase {
  const char* reader;
  std::function<bool(LumoStream&)> read;  // reads one value and checks it is empty afterwards on failure
};

TEST(ObjectStreamTest, StoredLengthBeyondTheStreamIsRefusedBeforeAllocating) {
  const LengthCase readers[] = {
      {"text", [](LumoStream& s) {
         tCharStr text = nullptr;
         const bool read = s.ReadCharStr(text);
         EXPECT_EQ(text, nullptr);
         return read;
       }},
      {"string", [](LumoStream& s) {
         tString text("old");
         const bool read = s.ReadString(text);
         EXPECT_EQ(text.text, nullptr);
         return read;
       }},
      {"buffer", [](LumoStream& s) {
         tBuffer buffer;
         buffer = "old";
         const bool read = s.ReadBuffer(buffer);
         EXPECT_EQ(buffer.data, nullptr);
         return read;
       }},
      {"data", [](LumoStream& s) {
         void* block = nullptr;
         uint32_t size = 9;
         const bool read = s.ReadData(block, size);
         EXPECT_EQ(block, nullptr);
         EXPECT_EQ(size, 0u);
         return read;
       }},
  };
  const struct {
    const char* name;
    Bytes bytes;
  } streams[] = {
      {"one byte short", BytesOf({0, 0, 0, 4, 'a', 'b', 'c'})},
      {"huge length", BytesOf({0x7F, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'})},
      {"largest length", BytesOf({0xFF, 0xFF, 0xFF, 0xFF, 'a'})},
      {"length cut short", BytesOf({0, 0})},
  };
  for (const auto& input : streams) {
    for (const LengthCase& test : readers) {
      SCOPED_TRACE(std::string(input.name) + " into a " + test.reader);
      ByteReader reader(input.bytes);
      EXPECT_FALSE(test.read(reader.stream));
      EXPECT_EQ(reader.stream.errorCode, StreamCannotRead);
    }
  }
}

TEST(ObjectStreamTest, StoredLengthThatFillsTheRestIsRead) {
  ByteReader reader(BytesOf({0, 0, 0, 3, 'a', 'b', 'c'}));
  tCharStr text = nullptr;
  ASSERT_TRUE(reader.stream.ReadCharStr(text));
  EXPECT_STREQ(text, "abc");
  FreeCharStr(text);
}

// ---- Headers ----

TEST(ObjectStreamTest, HeaderWithAnotherSignatureOrVersionZeroIsRefused) {
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"other signature", BytesOf({'L', 'u', 'm', 'a', 1, 4, 0, 0})},
      {"version 0", BytesOf({'L', 'u', 'm', 'o', 0, 0, 0, 0})},
      {"cut short", BytesOf({'L', 'u', 'm', 'o', 1})},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    ByteReader reader(test.bytes);
    reader.stream.SetVersion(0x1234);
    EXPECT_FALSE(reader.stream.ReadHeader());
    EXPECT_EQ(reader.stream.version, 0x1234u);
  }
}

TEST(ObjectStreamTest, VersionZeroIsRefused) {
  LumoMemoryStream stream;
  EXPECT_FALSE(stream.SetVersion(0));
  EXPECT_EQ(stream.version, 0x1070800u);
}

// ---- Texts without a length prefix ----

TEST(ObjectStreamTest, ReadLineDropsCarriageReturnsAndStopsAtLineFeeds) {
  ByteReader reader(BytesOf({'a', 'b', 13, 10, 'c', 'd'}));
  char line[16];
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 2);
  EXPECT_STREQ(line, "ab");
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 2);
  EXPECT_STREQ(line, "cd");
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 0);  // exhausted: an empty line
  EXPECT_STREQ(line, "");
  EXPECT_TRUE(reader.stream.IsFailed());
}

TEST(ObjectStreamTest, ReadLineCutsALongLineAndGoesOnAtTheNextOne) {
  Bytes bytes = BytesOfText("abcdefgh\nxy_z");
  bytes[11] = '\0';
  ByteReader reader(bytes);
  char line[4];
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 3);
  EXPECT_STREQ(line, "abc");
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 2);
  EXPECT_STREQ(line, "xy");  // a NUL ends a line too
  EXPECT_EQ(reader.stream.ReadLine(line, sizeof line), 1);
  EXPECT_STREQ(line, "z");
}

TEST(ObjectStreamTest, CTextReadsWindBackToJustBehindTheTerminator) {
  Bytes bytes = BytesOfText("ab_cde_");
  bytes[2] = '\0';
  bytes[6] = '\0';
  ByteReader reader(bytes);
  char text[16];
  EXPECT_EQ(reader.stream.ReadCText(text, sizeof text), 2);
  EXPECT_STREQ(text, "ab");
  EXPECT_EQ(reader.stream.GetPosition(), 3);
  EXPECT_EQ(reader.stream.ReadCTextBytewise(text, sizeof text), 3);
  EXPECT_STREQ(text, "cde");
  EXPECT_EQ(reader.stream.ReadCText(text, sizeof text), 0);  // nothing left
}

TEST(ObjectStreamTest, CTextWithoutTerminatorFillsTheBufferUnterminated) {
  ByteReader reader(BytesOfText("abcdef"));
  char text[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(reader.stream.ReadCText(text, 4), 4);
  EXPECT_EQ(std::memcmp(text, "abcdx", 5), 0);
  EXPECT_EQ(reader.stream.GetPosition(), 4);
}

TEST(ObjectStreamTest, BoundedLineReadWindsBackToTheCharacterThatEndedIt) {
  Bytes bytes = BytesOf({'a', 'b', 13, 10, 'c', 0, 'd'});
  {
    ByteReader reader(bytes);
    char line[16];
    EXPECT_EQ(reader.stream.ReadLineBounded(line, sizeof line, true), 2);
    EXPECT_STREQ(line, "ab");
    EXPECT_EQ(reader.stream.GetPosition(), 4);
  }
  {
    ByteReader reader(bytes);
    char line[16];
    EXPECT_EQ(reader.stream.ReadLineBounded(line, sizeof line, false), 4);
    EXPECT_STREQ(line, "ab\nc");
    EXPECT_EQ(reader.stream.GetPosition(), 6);
  }
}

TEST(ObjectStreamTest, PeekReadsAndWindsBack) {
  ByteReader reader(BytesOfText("pas:rest"));
  char marker[4];
  ASSERT_TRUE(reader.stream.Peek(marker, 4));
  EXPECT_EQ(std::memcmp(marker, "pas:", 4), 0);
  EXPECT_EQ(reader.stream.GetPosition(), 0);
  ASSERT_EQ(reader.stream.SetPosition(6), 6);
  EXPECT_FALSE(reader.stream.Peek(marker, 4));  // only two bytes left
  EXPECT_EQ(reader.stream.GetPosition(), 6);
  EXPECT_FALSE(reader.stream.IsFailed());
}

TEST(ObjectStreamTest, PrintCutsOutputLongerThanItsBuffer) {
  ByteWriter writer;
  const std::string longText(5000, 'q');
  EXPECT_TRUE(writer.stream.Print("%s", longText.c_str()));
  EXPECT_EQ(writer.Written().size(), 4095u);
}

TEST(ObjectStreamTest, FlushOfAStreamWithoutAFlushStepSucceedsWhileHealthy) {
  ByteWriter writer;
  EXPECT_TRUE(writer.stream.Flush());
  LumoMemoryStream closed;
  EXPECT_FALSE(closed.Flush());  // a new stream is failing ("Unknown failure")
  EXPECT_EQ(closed.errorCode, StreamCannotFlush);
}

}  // namespace
}  // namespace stream_testing
