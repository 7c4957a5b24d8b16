#include <gtest/gtest.h>

#include <cstring>

#include "StreamBytes.h"
#include "base/LumoMemoryStream.h"

namespace stream_testing {
namespace {

TEST(MemoryStreamTest, BorrowedBlockReadsInBlocksUntilItIsExhausted) {
  Bytes block(10, 7);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 10, 1, 0));
  uint8_t target[4];
  for (uint32_t expected : {4u, 4u, 2u, 0u}) {
    uint32_t count = 99;
    EXPECT_TRUE(stream.Read(target, sizeof target, count));
    EXPECT_EQ(count, expected);
  }
  EXPECT_FALSE(stream.ReadBlock(target, 1));
}

TEST(MemoryStreamTest, WritingPastABorrowedBlockFailsAndWritesNothing) {
  Bytes block(4, 0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 4, 1, 0));
  ASSERT_EQ(stream.SetPosition(2), 2);
  uint32_t count = 99;
  EXPECT_FALSE(stream.Write("abc", 3, count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(block, Bytes(4, 0));
  EXPECT_EQ(stream.GetPosition(), 2);
  EXPECT_EQ(stream.size, 4u);
}

TEST(MemoryStreamTest, OwnedBlockGrowsByWhatIsMissingPlusTheStepInWholeRecords) {
  const struct {
    int32_t recordSize;
    uint32_t step;
    uint32_t written;
    uint32_t expectedGrowth;
    uint32_t expectedSize;
  } cases[] = {
      {1, 256, 10, 256, 100 + 10 + 256},
      {1, 256, 1, 256, 100 + 1 + 256},
      {8, 20, 10, 24, 136},  // 100 + 10 + 24 = 134, rounded up to 136
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.recordSize);
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenNew(100, test.recordSize, 0));
    EXPECT_EQ(stream.SetGrowth(test.step), test.expectedGrowth);
    ASSERT_EQ(stream.SetPosition(100), 100);
    const Bytes payload(test.written, 0x5A);
    EXPECT_TRUE(stream.WriteBlock(payload.data(), test.written));
    EXPECT_EQ(stream.size, test.expectedSize);
    EXPECT_EQ(stream.position, 100 + test.written);
    EXPECT_EQ(stream.buffer[stream.size - 1], 0);  // new bytes are zero
  }
}

TEST(MemoryStreamTest, OwnedBlockWithoutAStepNeverGrows) {
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(4, 1, 0));
  EXPECT_FALSE(stream.WriteInteger(1) && stream.WriteByte(2));
  EXPECT_EQ(stream.size, 4u);
  EXPECT_EQ(stream.Seek(5, SeekFromStart), -1);
}

TEST(MemoryStreamTest, SeekOutsideTheBlockFailsAndKeepsThePosition) {
  Bytes block(8, 0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 8, 1, 0));
  ASSERT_EQ(stream.SetPosition(3), 3);
  const struct {
    int32_t offset;
    int32_t origin;
  } cases[] = {{-1, SeekFromStart}, {-4, SeekFromCurrent}, {1, SeekFromEnd}, {9, SeekFromStart}, {0, 7}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.offset);
    EXPECT_EQ(stream.Seek(test.offset, test.origin), -1);
    EXPECT_EQ(stream.errorCode, StreamCannotSeek);
    EXPECT_EQ(stream.position, 3u);
  }
  EXPECT_EQ(stream.Seek(-2, SeekFromEnd), 6);
  EXPECT_EQ(stream.Seek(-1, SeekFromCurrent), 5);
}

TEST(MemoryStreamTest, SeekBeyondAnOwnedBlockGrowsToItWithinTheCap) {
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  ASSERT_EQ(stream.SetGrowth(16), 16u);
  EXPECT_EQ(stream.Seek(100, SeekFromStart), 100);
  EXPECT_EQ(stream.size, 116u);
  // A seek target read from a damaged file must not allocate gigabytes.
  EXPECT_EQ(stream.Seek(0x7FFFFFFF, SeekFromStart), -1);
  EXPECT_EQ(stream.size, 116u);
  EXPECT_EQ(stream.position, 100u);
}

TEST(MemoryStreamTest, GrowthIsRefusedBeyondTheCapWithOutOfMemory) {
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  ASSERT_EQ(stream.SetGrowth(16), 16u);
  EXPECT_FALSE(stream.Grow(LumoMemoryStream::kMaxGrownSize));
  EXPECT_EQ(stream.errorCode, StreamOutOfMemory);
  EXPECT_EQ(stream.size, 16u);
}

TEST(MemoryStreamTest, RecordSizeZeroNeitherDividesByZeroNorTakesAGrowthStep) {
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(8, 0, 0));
  EXPECT_EQ(stream.SetGrowth(16), 0u);
  EXPECT_TRUE(stream.Grow(10));
  EXPECT_EQ(stream.size, 18u);
  ASSERT_EQ(stream.SetPosition(5), 5);
  EXPECT_EQ(stream.GetRecordIndex(), 5);
}

TEST(MemoryStreamTest, ResizeKeepsTheBytesAndPullsThePositionBack) {
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(8, 1, 0));
  ASSERT_TRUE(stream.WriteBlock("abcdefgh", 8));
  EXPECT_EQ(stream.Resize(4), 4u);
  EXPECT_EQ(stream.position, 4u);
  EXPECT_EQ(std::memcmp(stream.buffer, "abcd", 4), 0);
  EXPECT_EQ(stream.Resize(4), 0u);  // the same size
  EXPECT_EQ(stream.Resize(0), 0u);
  Bytes borrowed(4, 0);
  ASSERT_TRUE(stream.OpenBuffer(borrowed.data(), 4, 1, 0));
  EXPECT_EQ(stream.Resize(8), 0u);  // a borrowed block never changes size
  EXPECT_EQ(stream.SetGrowth(8), 0u);
}

TEST(MemoryStreamTest, OpeningNeedsABlock) {
  LumoMemoryStream stream;
  EXPECT_FALSE(stream.OpenNew(0, 1, 0));
  EXPECT_EQ(stream.errorCode, StreamCannotOpen);
  EXPECT_FALSE(stream.OpenBuffer(nullptr, 10, 1, 0));
  EXPECT_FALSE(stream.IsOpen());
}

TEST(MemoryStreamTest, CloseForgetsTheBlockAndReopenOfABorrowedBlockFails) {
  Bytes block(4, 1);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(block.data(), 4, 1, 0));
  EXPECT_TRUE(stream.Close());
  EXPECT_EQ(stream.buffer, nullptr);
  EXPECT_EQ(stream.size, 0u);
  uint8_t byte = 0;
  EXPECT_FALSE(stream.ReadByte(byte));
  EXPECT_FALSE(stream.Reopen());
  EXPECT_EQ(block, Bytes(4, 1));
}

TEST(MemoryStreamTest, BytesRemainingIsWhatLiesBehindThePosition) {
  ByteReader reader(Bytes(10, 0));
  EXPECT_EQ(reader.stream.GetBytesRemaining(), 10);
  ASSERT_EQ(reader.stream.SetPosition(7), 7);
  EXPECT_EQ(reader.stream.GetBytesRemaining(), 3);
  EXPECT_EQ(reader.stream.GetPosition(), 7);
  LumoMemoryStream closed;
  EXPECT_EQ(closed.GetBytesRemaining(), 0);
}

}  // namespace
}  // namespace stream_testing
