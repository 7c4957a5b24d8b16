#include "game/YCommsReader.h"

#include "game/CommsBytes.h"

YCommsReader::Status YCommsReader::Pull(const ByteSource& next) {
  if (done_) {
    done_ = false;
    message_ = YCommsMessage{};
    stage_ = Stage::Type;
    have_ = 0;
  }
  uint8_t byte = 0;
  while (budget_ > 0 && next(byte)) {
    --budget_;
    const Status status = Take(byte);
    if (status != Status::Pending) {
      return status;
    }
  }
  return Status::Pending;
}

YCommsReader::Status YCommsReader::Refuse(const char* reason) {
  fault_ = reason;
  return Status::Fault;
}

YCommsReader::Status YCommsReader::Finish() {
  done_ = true;
  return Status::Message;
}

YCommsReader::Status YCommsReader::Take(uint8_t byte) {
  switch (stage_) {
    case Stage::Type:
      message_.type = byte;
      have_ = 0;
      switch (byte) {
        case kCommsJoin:
        case kCommsLeave:
          stage_ = Stage::Record;
          return Status::Pending;
        case kCommsText:
          stage_ = Stage::TextLength;
          return Status::Pending;
        case kCommsLatency:
          stage_ = Stage::Latency;
          return Status::Pending;
        case kCommsOrderFrame:
          stage_ = Stage::FrameHeader;
          return Status::Pending;
        default:
          // Type 2 and every type above 5 carry nothing.
          return Finish();
      }
    case Stage::Record:
      message_.record[have_++] = byte;
      return have_ == kPlayerRecordWireSize ? Finish() : Status::Pending;
    case Stage::TextLength: {
      field_[have_++] = byte;
      if (have_ < 4) {
        return Status::Pending;
      }
      const uint32_t length = LoadU32(field_);
      if (length > kMostTextBytes) {
        return Refuse("text longer than any the game sends");
      }
      if (length == 0) {
        return Finish();
      }
      message_.text.reserve(length);
      want_ = length;
      have_ = 0;
      stage_ = Stage::TextBody;
      return Status::Pending;
    }
    case Stage::TextBody:
      message_.text.push_back(byte);
      return message_.text.size() == want_ ? Finish() : Status::Pending;
    case Stage::Latency:
      field_[have_++] = byte;
      if (have_ < 4) {
        return Status::Pending;
      }
      message_.latency = LoadU32(field_);
      return Finish();
    case Stage::FrameHeader: {
      field_[have_++] = byte;
      if (have_ < 8) {
        return Status::Pending;
      }
      message_.frame.frame = LoadU32(field_);
      ordersLeft_ = LoadU32(field_ + 4);
      if (ordersLeft_ > kMostFrameOrders) {
        return Refuse("more orders in a frame than allowed");
      }
      if (ordersLeft_ == 0) {
        return Finish();
      }
      message_.frame.orders.reserve(ordersLeft_);
      have_ = 0;
      stage_ = Stage::OrderHeader;
      return Status::Pending;
    }
    case Stage::OrderHeader: {
      field_[have_++] = byte;
      if (have_ < 6) {
        return Status::Pending;
      }
      const uint32_t length = LoadU32(field_ + 2);
      if (length > kMostPayloadBytes) {
        return Refuse("order payload longer than allowed");
      }
      message_.frame.orders.emplace_back();
      message_.frame.orders.back().kind = LoadU16(field_);
      have_ = 0;
      if (length > 0) {
        message_.frame.orders.back().payload.reserve(length);
        want_ = length;
        stage_ = Stage::Payload;
        return Status::Pending;
      }
      break;
    }
    case Stage::Payload: {
      std::vector<uint8_t>& payload = message_.frame.orders.back().payload;
      payload.push_back(byte);
      if (payload.size() < want_) {
        return Status::Pending;
      }
      have_ = 0;
      break;
    }
  }
  // An order is whole.
  if (--ordersLeft_ == 0) {
    return Finish();
  }
  stage_ = Stage::OrderHeader;
  return Status::Pending;
}
