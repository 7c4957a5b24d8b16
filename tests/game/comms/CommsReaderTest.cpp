#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/CommsBytes.h"
#include "game/YCommsReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

void AppendU16(Bytes& bytes, uint16_t value) {
  uint8_t field[2];
  StoreU16(field, value);
  bytes.insert(bytes.end(), field, field + 2);
}

void AppendU32(Bytes& bytes, uint32_t value) {
  uint8_t field[4];
  StoreU32(field, value);
  bytes.insert(bytes.end(), field, field + 4);
}

Bytes TextMessage(const std::string& text) {
  Bytes bytes = {3};
  AppendU32(bytes, static_cast<uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes FrameMessage(uint32_t frame, const std::vector<std::pair<uint16_t, std::string>>& orders) {
  Bytes bytes = {5};
  AppendU32(bytes, frame);
  AppendU32(bytes, static_cast<uint32_t>(orders.size()));
  for (const auto& [kind, payload] : orders) {
    AppendU16(bytes, kind);
    AppendU32(bytes, static_cast<uint32_t>(payload.size()));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
  }
  return bytes;
}

Bytes RecordMessage(uint8_t type, char fill) {
  Bytes bytes = {type};
  bytes.insert(bytes.end(), 37, static_cast<uint8_t>(fill));
  return bytes;
}

// Feeds bytes to a reader in pieces of the given sizes (the last one
// repeated), one read event per piece, collecting each message whole.
struct Feed {
  YCommsReader reader;
  std::vector<YCommsMessage> messages;
  bool fault = false;

  void Event(const Bytes& bytes, size_t& at, size_t end) {
    reader.StartEvent();
    const YCommsReader::ByteSource next = [&](uint8_t& byte) {
      if (at >= end) {
        return false;
      }
      byte = bytes[at++];
      return true;
    };
    for (;;) {
      const YCommsReader::Status status = reader.Pull(next);
      if (status == YCommsReader::Status::Message) {
        messages.push_back(reader.Message());
        continue;
      }
      fault = fault || status == YCommsReader::Status::Fault;
      return;
    }
  }
};

Bytes AllKinds() {
  Bytes stream;
  for (const Bytes& message :
       {RecordMessage(0, 'a'), TextMessage(""), TextMessage("hello"), Bytes{4, 12, 0, 0, 0},
        FrameMessage(7, {{5, "0123456789abcd"}, {0, ""}, {3, std::string(10, 'x')}}), Bytes{2},
        RecordMessage(1, 'b'), Bytes{200}, FrameMessage(8, {})}) {
    stream.insert(stream.end(), message.begin(), message.end());
  }
  return stream;
}

void ExpectAllKinds(const std::vector<YCommsMessage>& messages) {
  ASSERT_EQ(messages.size(), 9u);
  EXPECT_EQ(messages[0].type, 0);
  EXPECT_EQ(messages[0].record[36], 'a');
  EXPECT_EQ(messages[1].type, 3);
  EXPECT_TRUE(messages[1].text.empty());
  EXPECT_EQ(std::string(messages[2].text.begin(), messages[2].text.end()), "hello");
  EXPECT_EQ(messages[3].type, 4);
  EXPECT_EQ(messages[3].latency, 12u);
  EXPECT_EQ(messages[4].type, 5);
  EXPECT_EQ(messages[4].frame.frame, 7u);
  ASSERT_EQ(messages[4].frame.orders.size(), 3u);
  EXPECT_EQ(messages[4].frame.orders[0].kind, 5);
  EXPECT_EQ(std::string(messages[4].frame.orders[0].payload.begin(), messages[4].frame.orders[0].payload.end()),
            "0123456789abcd");
  EXPECT_TRUE(messages[4].frame.orders[1].payload.empty());
  EXPECT_EQ(messages[4].frame.orders[2].payload.size(), 10u);
  EXPECT_EQ(messages[5].type, 2);
  EXPECT_EQ(messages[6].type, 1);
  EXPECT_EQ(messages[7].type, 200);
  EXPECT_EQ(messages[8].frame.frame, 8u);
  EXPECT_TRUE(messages[8].frame.orders.empty());
}

TEST(CommsReaderTest, EveryMessageCutAtEveryByteArrivesWholeAndOnce) {
  const Bytes stream = AllKinds();
  for (size_t cut = 0; cut <= stream.size(); ++cut) {
    SCOPED_TRACE(cut);
    Feed feed;
    size_t at = 0;
    feed.Event(stream, at, cut);
    feed.Event(stream, at, stream.size());
    EXPECT_FALSE(feed.fault);
    ExpectAllKinds(feed.messages);
  }
}

TEST(CommsReaderTest, MessagesArrivingOneByteAPerEventArriveWhole) {
  const Bytes stream = AllKinds();
  Feed feed;
  size_t at = 0;
  for (size_t end = 1; end <= stream.size(); ++end) {
    feed.Event(stream, at, end);
  }
  EXPECT_FALSE(feed.fault);
  ExpectAllKinds(feed.messages);
}

struct HostileCase {
  const char* name;
  Bytes bytes;
};

void PrintTo(const HostileCase& hostileCase, std::ostream* out) { *out << hostileCase.name; }

class CommsReaderHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(CommsReaderHostileTest, RefusesBeforeAllocating) {
  Feed feed;
  size_t at = 0;
  const Bytes& bytes = GetParam().bytes;
  feed.Event(bytes, at, bytes.size());
  EXPECT_TRUE(feed.fault);
  EXPECT_TRUE(feed.messages.empty());
  // The refusal comes with the length or count field, before its body.
  EXPECT_LE(at, bytes.size());
}

Bytes Header(std::initializer_list<uint8_t> head, std::initializer_list<uint32_t> words) {
  Bytes bytes(head);
  for (const uint32_t word : words) {
    AppendU32(bytes, word);
  }
  return bytes;
}

Bytes FrameWithPayloadLength(uint32_t length) {
  Bytes bytes = Header({5}, {0, 1});
  AppendU16(bytes, 5);
  AppendU32(bytes, length);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Caps, CommsReaderHostileTest,
    ::testing::Values(HostileCase{"TextLengthAllOnes", Header({3}, {0xFFFFFFFFu})},
                      HostileCase{"TextJustAboveCap", Header({3}, {kMostTextBytes + 1})},
                      HostileCase{"CountOfABillion", Header({5}, {0, 1000000000u})},
                      HostileCase{"CountJustAboveCap", Header({5}, {0, kMostFrameOrders + 1})},
                      HostileCase{"PayloadOfTwoGigabytes", FrameWithPayloadLength(0x80000000u)},
                      HostileCase{"PayloadJustAboveCap", FrameWithPayloadLength(kMostPayloadBytes + 1)}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

TEST(CommsReaderTest, TheLongestAllowedTextAndPayloadAreTaken) {
  Bytes stream = TextMessage(std::string(kMostTextBytes, 't'));
  const Bytes frame = FrameMessage(0, {{5, std::string(kMostPayloadBytes, 'p')}});
  stream.insert(stream.end(), frame.begin(), frame.end());
  Feed feed;
  size_t at = 0;
  feed.Event(stream, at, stream.size());
  EXPECT_FALSE(feed.fault);
  ASSERT_EQ(feed.messages.size(), 2u);
  EXPECT_EQ(feed.messages[0].text.size(), kMostTextBytes);
  EXPECT_EQ(feed.messages[1].frame.orders[0].payload.size(), kMostPayloadBytes);
}

TEST(CommsReaderTest, OneEventTakesAtMostItsByteBudget) {
  const Bytes stream(kMostBytesPerEvent + 10, 2);  // a flood of empty messages
  Feed feed;
  size_t at = 0;
  feed.Event(stream, at, stream.size());
  EXPECT_EQ(at, kMostBytesPerEvent);
  feed.Event(stream, at, stream.size());
  EXPECT_EQ(at, stream.size());
  EXPECT_EQ(feed.messages.size(), stream.size());
}

}  // namespace
