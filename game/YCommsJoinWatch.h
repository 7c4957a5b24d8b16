#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct ConnectionData;

// Watches the connections a server greeted until they join: a host could
// otherwise hold every slot with connections that never send a join. The
// watch thread only signals (the signal posts a message to the game
// window); the game thread takes the expired connections and closes them.
class YCommsJoinWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // `due` runs on the watch thread when a deadline has passed.
  explicit YCommsJoinWatch(std::function<void()> due);
  ~YCommsJoinWatch();
  YCommsJoinWatch(const YCommsJoinWatch&) = delete;
  YCommsJoinWatch& operator=(const YCommsJoinWatch&) = delete;

  // Any thread.
  void Greeted(ConnectionData* connection, Clock::time_point deadline);
  void Forget(ConnectionData* connection);
  // The connections past their deadline, forgotten here.
  std::vector<ConnectionData*> TakeExpired(Clock::time_point now);

 private:
  struct Entry {
    ConnectionData* connection;
    Clock::time_point deadline;
    bool signalled;
  };
  void Run();

  std::function<void()> due_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Entry> entries_;  // in greeting order
  bool stop_ = false;
  std::thread thread_;
};
