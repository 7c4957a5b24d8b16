#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/YCommsRecords.h"

// The comms message types (the first byte of every message).
enum : uint8_t {
  kCommsJoin = 0,
  kCommsLeave = 1,
  kCommsNothing = 2,
  kCommsText = 3,
  kCommsLatency = 4,
  kCommsOrderFrame = 5,
};

// The longest text a peer may send: the game's longest, a picture chunk.
constexpr uint32_t kMostTextBytes = 1032;
// The most orders of one frame and the longest payload of one order.
constexpr uint32_t kMostFrameOrders = 4096;
constexpr uint32_t kMostPayloadBytes = 4096;
// Bytes one read event takes at most, so a peer that never pauses cannot
// hold the game thread; the rest waits for the next read event.
constexpr size_t kMostBytesPerEvent = 64 * 1024;

// One order as it came off the wire; no payload is a null order.
struct ycReceivedOrder {
  uint16_t kind = 0;
  std::vector<uint8_t> payload;
};

// One frame's orders as a peer sent them, read whole.
struct ycOrderFrame {
  uint32_t frame = 0;
  std::vector<ycReceivedOrder> orders;
};

// One whole comms message.
struct YCommsMessage {
  uint8_t type = 0;
  uint8_t record[kPlayerRecordWireSize] = {};  // join and leave
  std::vector<uint8_t> text;                   // text: its bytes
  uint32_t latency = 0;                        // latency
  ycOrderFrame frame;                          // order frame
};

// Reads the comms messages of one connection as their bytes arrive: it
// remembers where a message stands, so a message cut anywhere is resumed at
// the next read event, and it refuses a length or count above its cap before
// anything is allocated for it.
class YCommsReader {
 public:
  enum class Status {
    Pending,  // every waiting byte was taken; the message is not whole yet
    Message,  // a whole message is ready (Message()); call again for more
    Fault,    // the peer sent what no peer may; the connection must close
  };
  // Gives the next waiting byte; false when none waits.
  using ByteSource = std::function<bool(uint8_t& byte)>;

  // Takes bytes until a message is whole, nothing waits, the bytes of this
  // read event are used up, or the peer broke the rules.
  Status Pull(const ByteSource& next);
  // The message that Pull answered Message for; the reader starts the next
  // message with the following Pull.
  YCommsMessage& Message() { return message_; }
  // Why Pull answered Fault.
  const char* Fault() const { return fault_; }
  // A new event: the per-event byte budget starts again.
  void StartEvent() { budget_ = kMostBytesPerEvent; }

 private:
  enum class Stage { Type, Record, TextLength, TextBody, Latency, FrameHeader, OrderHeader, Payload };

  Status Take(uint8_t byte);
  Status Finish();
  Status Refuse(const char* reason);

  Stage stage_ = Stage::Type;
  YCommsMessage message_;
  uint8_t field_[8] = {};
  size_t have_ = 0;         // bytes of the current field or body
  size_t want_ = 0;
  uint32_t ordersLeft_ = 0;
  bool done_ = false;       // Message() holds a finished message
  size_t budget_ = kMostBytesPerEvent;
  const char* fault_ = "";
};
