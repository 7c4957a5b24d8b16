#include "platform/MessageQueue.h"

#include "platform/Backend.h"
#include "platform/Clock.h"

namespace platform {

void MessageQueue::Post(const Message& message) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  GetBackend().Wake();
}

void MessageQueue::Deliver(const Message& message) {
  std::lock_guard lock(mutex_);
  messages_.push_back(message);
}

bool MessageQueue::PumpAndCheck() {
  GetBackend().PumpEvents(*this);
  std::lock_guard lock(mutex_);
  return !messages_.empty();
}

Message MessageQueue::Get() {
  Wait(-1);
  Message message;
  Take(message);
  return message;
}

bool MessageQueue::Peek(Message& message) {
  if (!PumpAndCheck()) {
    return false;
  }
  std::lock_guard lock(mutex_);
  message = messages_.front();
  return true;
}

bool MessageQueue::Take(Message& message) {
  if (!PumpAndCheck()) {
    return false;
  }
  std::lock_guard lock(mutex_);
  message = messages_.front();
  messages_.pop_front();
  return true;
}

bool MessageQueue::Wait(int32_t timeoutMilliseconds) {
  const uint32_t start = UpTimeMilliseconds();
  while (!PumpAndCheck()) {
    int32_t remaining = -1;
    if (timeoutMilliseconds >= 0) {
      // Signed difference on the wrapping clock, so a wrap does not end
      // the wait early or stretch it.
      const int32_t elapsed = static_cast<int32_t>(UpTimeMilliseconds() - start);
      remaining = timeoutMilliseconds - elapsed;
      if (remaining <= 0) {
        return false;
      }
    }
    GetBackend().WaitForEvents(remaining);
  }
  return true;
}

void MessageQueue::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

bool MessageQueue::Empty() {
  std::lock_guard lock(mutex_);
  return messages_.empty();
}

MessageQueue& GameQueue() {
  static MessageQueue queue;
  return queue;
}

}  // namespace platform
