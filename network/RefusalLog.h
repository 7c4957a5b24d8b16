#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>

// Logs datagrams a thread drops, at most one line a second: a flood of
// hostile datagrams must not flood the debug log too. Used by one thread.
class RefusalLog {
 public:
  explicit RefusalLog(const char* label) : label_(label) {}
  // Logs "LumoConnection (<label>): dropped a datagram from <address>: <why>",
  // with the number dropped unlogged since the last line.
  void Refuse(const sockaddr_in& sender, const char* why);
  // How many were dropped in all.
  uint32_t Count() const { return count_; }

 private:
  using Clock = std::chrono::steady_clock;
  const char* label_;
  Clock::time_point last_{};
  bool logged_ = false;
  uint32_t unlogged_ = 0;
  uint32_t count_ = 0;
};
