#include "game/YCommsJoinWatch.h"

#include <algorithm>

YCommsJoinWatch::YCommsJoinWatch(std::function<void()> due) : due_(std::move(due)), thread_([this] { Run(); }) {}

YCommsJoinWatch::~YCommsJoinWatch() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void YCommsJoinWatch::Greeted(ConnectionData* connection, Clock::time_point deadline) {
  {
    std::lock_guard lock(mutex_);
    entries_.push_back({connection, deadline, false});
  }
  changed_.notify_all();
}

void YCommsJoinWatch::Forget(ConnectionData* connection) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [connection](const Entry& entry) { return entry.connection == connection; });
}

std::vector<ConnectionData*> YCommsJoinWatch::TakeExpired(Clock::time_point now) {
  std::vector<ConnectionData*> expired;
  std::lock_guard lock(mutex_);
  for (const Entry& entry : entries_) {
    if (entry.deadline <= now) {
      expired.push_back(entry.connection);
    }
  }
  std::erase_if(entries_, [now](const Entry& entry) { return entry.deadline <= now; });
  return expired;
}

void YCommsJoinWatch::Run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    const auto waiting = std::find_if(entries_.begin(), entries_.end(), [](const Entry& entry) {
      return !entry.signalled;
    });
    if (waiting == entries_.end()) {
      changed_.wait(lock);
      continue;
    }
    Clock::time_point earliest = waiting->deadline;
    for (const Entry& entry : entries_) {
      if (!entry.signalled) {
        earliest = std::min(earliest, entry.deadline);
      }
    }
    if (Clock::now() < earliest) {
      changed_.wait_until(lock, earliest);
      continue;
    }
    const Clock::time_point now = Clock::now();
    for (Entry& entry : entries_) {
      if (entry.deadline <= now) {
        entry.signalled = true;
      }
    }
    lock.unlock();
    due_();
    lock.lock();
  }
}
