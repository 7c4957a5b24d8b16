#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/Message.h"

namespace platform {

// The game thread's message queue. Other threads may post; only the game
// thread takes messages. Taking, peeking and waiting first pump the back
// end's device events into the queue.
class MessageQueue {
 public:
  // Appends a message and wakes a waiting game thread. Any thread.
  void Post(const Message& message);
  // Appends a message without waking: for back ends inside PumpEvents.
  void Deliver(const Message& message);
  // Removes and returns the first message, blocking until there is one.
  Message Get();
  // Copies the first message without removing it; false when there is none.
  bool Peek(Message& message);
  // Removes the first message when there is one; false when there is none.
  bool Take(Message& message);
  // Blocks until a message waits or the time-out (milliseconds; negative:
  // none) ran out; true when a message waits.
  bool Wait(int32_t timeoutMilliseconds);
  // Drops every waiting message.
  void Clear();
  bool Empty();

 private:
  bool PumpAndCheck();

  std::mutex mutex_;
  std::deque<Message> messages_;
};

// The one queue of the game thread.
MessageQueue& GameQueue();

}  // namespace platform
