#include "platform/Net.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

struct ErrorMapping {
  int error;
  int32_t code;
};

// The socket service numbers its errors from 10000 on, after the Berkeley
// errno values; Linux numbers the same conditions differently.
constexpr ErrorMapping kErrorCodes[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},       {EFAULT, 10014},
    {EINVAL, 10022},       {EMFILE, 10024},          {ENFILE, 10024},       {EWOULDBLOCK, 10035},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},     {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},     {ENETUNREACH, 10051},
    {ENETRESET, 10052},    {ECONNABORTED, 10053},    {ECONNRESET, 10054},   {EPIPE, 10054},
    {ENOBUFS, 10055},      {ENOMEM, 10055},          {EISCONN, 10056},      {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},    {ECONNREFUSED, 10061},
    {ELOOP, 10062},        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},
};

// The general network error, for conditions the service has no number of.
constexpr int32_t kGeneralError = 10000 + 100;

}  // namespace

int32_t SocketErrorCode(int error) {
  if (error == 0) {
    return 0;
  }
  for (const ErrorMapping& mapping : kErrorCodes) {
    if (mapping.error == error) {
      return mapping.code;
    }
  }
  return kGeneralError;
}

bool SetSocketBlocking(int socket, bool blocking) {
  const int flags = fcntl(socket, F_GETFL);
  if (flags < 0) {
    return false;
  }
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return wanted == flags || fcntl(socket, F_SETFL, wanted) == 0;
}

// ---- StopSignal ----

StopSignal::StopSignal() : descriptor_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
  if (descriptor_ >= 0) {
    close(descriptor_);
  }
}

void StopSignal::Raise() {
  raised_ = true;
  if (descriptor_ >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(descriptor_, &one, sizeof one);
  }
}

SocketWait WaitForSocket(int socket, short events, const StopSignal& stop, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limit;
  for (;;) {
    if (stop.Raised()) {
      return SocketWait::Stopped;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd polled[2] = {{stop.Descriptor(), POLLIN, 0}, {socket, events, 0}};
    const int ready = poll(polled, 2, static_cast<int>(std::clamp<long long>(left, 0, 60000)));
    if (stop.Raised()) {
      return SocketWait::Stopped;
    }
    if (ready > 0 && polled[1].revents != 0) {
      return SocketWait::Ready;
    }
    if (ready == 0 && left <= 0) {
      return SocketWait::TimedOut;
    }
    if (ready < 0 && errno != EINTR) {
      return SocketWait::TimedOut;
    }
  }
}

// ---- SocketChannel ----

void SocketChannel::ByteQueue::Append(const uint8_t* data, size_t length) {
  if (start > 0 && start >= bytes.size() / 2) {
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(start));
    start = 0;
  }
  bytes.insert(bytes.end(), data, data + length);
}

void SocketChannel::ByteQueue::Consume(size_t length) {
  start += length;
  if (start == bytes.size()) {
    Clear();
  }
}

void SocketChannel::ByteQueue::Clear() {
  bytes.clear();
  start = 0;
}

void SocketChannel::ByteQueue::Release() {
  std::vector<uint8_t>().swap(bytes);
  start = 0;
}

SocketChannel::ReceiveResult SocketChannel::Receive(void* buffer, size_t size,
                                                    std::chrono::milliseconds waitLimit) {
  std::unique_lock lock(mutex_);
  if (broken_ || closing_ || closePosted_) {
    return ReceiveResult::Closed;
  }
  if (size == 0) {
    return ReceiveResult::Complete;
  }
  if (received_.Empty()) {
    return ReceiveResult::NothingWaiting;
  }
  auto* target = static_cast<uint8_t*>(buffer);
  size_t copied = 0;
  const Clock::time_point deadline = Clock::now() + waitLimit;
  for (;;) {
    const bool wasFull = received_.Size() >= kReceiveCapacity;
    const size_t length = std::min(received_.Size(), size - copied);
    std::memcpy(target + copied, received_.Front(), length);
    received_.Consume(length);
    copied += length;
    consumed_ = consumed_ || length > 0;
    if (wasFull && length > 0) {
      WakeEvents();  // the event thread receives again
    }
    if (copied == size) {
      return ReceiveResult::Complete;
    }
    if (endOfStream_ || error_ != 0) {
      break;
    }
    arrived_.wait_until(lock, deadline, [this] { return !received_.Empty() || endOfStream_ || error_ != 0; });
    if (received_.Empty()) {
      break;
    }
  }
  // The rest did not come: the part is lost, so the stream can no longer be
  // read in step with its sender; the connection closes.
  broken_ = true;
  WakeEvents();
  return ReceiveResult::Dropped;
}

SocketChannel::SendResult SocketChannel::Send(const void* data, size_t length) {
  std::lock_guard lock(mutex_);
  if (broken_ || closing_ || closePosted_ || error_ != 0) {
    return SendResult::Closed;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t sent = 0;
  while (queued_.Empty() && sent < length) {
    const ssize_t result = send(socket_, bytes + sent, length - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (result >= 0) {
      sent += static_cast<size_t>(result);
      continue;
    }
    if (errno == EINTR) {
      continue;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      break;
    }
    Fail(errno);
    WakeEvents();
    return SendResult::Failed;
  }
  if (sent == length) {
    return SendResult::Done;
  }
  if (queued_.Size() + (length - sent) > kSendQueueLimit) {
    // A peer that does not read would make the queue grow without end.
    queued_.Clear();
    broken_ = true;
    WakeEvents();
    return SendResult::Overflow;
  }
  queued_.Append(bytes + sent, length - sent);
  WakeEvents();
  return SendResult::Done;
}

void SocketChannel::Shutdown(std::chrono::milliseconds closeLimit) {
  std::lock_guard lock(mutex_);
  if (closing_) {
    return;
  }
  closing_ = true;
  closeDeadline_ = Clock::now() + closeLimit;
  if (queued_.Empty() && !sendingShut_) {
    shutdown(socket_, SHUT_WR);
    sendingShut_ = true;
  }
  arrived_.notify_all();
  WakeEvents();
}

uint32_t SocketChannel::ErrorCode() {
  std::lock_guard lock(mutex_);
  return error_;
}

bool SocketChannel::Closing() {
  std::lock_guard lock(mutex_);
  return closing_;
}

void SocketChannel::Release() {
  std::lock_guard lock(mutex_);
  closing_ = true;
  closePosted_ = true;
  received_.Release();
  queued_.Release();
  arrived_.notify_all();
}

size_t SocketChannel::BufferBytes() {
  std::lock_guard lock(mutex_);
  return received_.bytes.capacity() + queued_.bytes.capacity();
}

void SocketChannel::Fail(int error) {
  if (error_ == 0) {
    error_ = static_cast<uint32_t>(SocketErrorCode(error));
  }
  queued_.Clear();
  arrived_.notify_all();
}

void SocketChannel::WakeEvents() {
  if (events_ != nullptr) {
    events_->Wake();
  }
}

bool SocketChannel::Full() const { return !closing_ && received_.Size() >= kReceiveCapacity; }

bool SocketChannel::Ended() const {
  // A full buffer that the handler left as it was will never make room, so
  // the end behind it counts as reached; once the reader makes room the
  // rest is received and the real end is seen.
  return endOfStream_ || error_ != 0 || (peerHungUp_ && Full());
}

uint32_t SocketChannel::NextEvent(Clock::time_point now) {
  if (closePosted_ || events_ == nullptr || readOutstanding_) {
    return 0;
  }
  const bool ended = Ended();
  uint32_t event = 0;
  if (closing_) {
    if (ended || broken_ || now >= closeDeadline_) {
      event = kSocketCloseEvent;
    }
  } else if (broken_) {
    event = kSocketCloseEvent;
  } else if (!received_.Empty() && (newBytes_ || consumed_)) {
    event = kSocketReadEvent;
  } else if (ended) {
    // Every byte before the end was offered to a handler, which read it
    // all or read nothing of what remains.
    event = kSocketCloseEvent;
  }
  if (event == kSocketReadEvent) {
    readOutstanding_ = true;
    newBytes_ = false;
    consumed_ = false;
  } else if (event == kSocketCloseEvent) {
    closePosted_ = true;
    arrived_.notify_all();
  }
  return event;
}

void SocketChannel::Fill() {
  uint8_t chunk[16 * 1024];
  while (!endOfStream_ && error_ == 0) {
    const size_t room = closing_ ? sizeof chunk : kReceiveCapacity - std::min(kReceiveCapacity, received_.Size());
    if (room == 0) {
      return;
    }
    const ssize_t result = recv(socket_, chunk, std::min(room, sizeof chunk), MSG_DONTWAIT);
    if (result > 0) {
      // After the owner closed, what arrives is read only to see the end.
      if (!closing_) {
        received_.Append(chunk, static_cast<size_t>(result));
        newBytes_ = true;
      }
    } else if (result == 0) {
      endOfStream_ = true;
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      break;
    } else {
      Fail(errno);
    }
  }
  arrived_.notify_all();
}

void SocketChannel::Flush() {
  while (!queued_.Empty() && error_ == 0) {
    const ssize_t result = send(socket_, queued_.Front(), queued_.Size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (result >= 0) {
      queued_.Consume(static_cast<size_t>(result));
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return;
    } else {
      Fail(errno);
    }
  }
  if (queued_.Empty() && closing_ && !sendingShut_) {
    shutdown(socket_, SHUT_WR);
    sendingShut_ = true;
  }
}

// ---- SocketEvents ----

SocketEvents::~SocketEvents() { Clear(); }

bool SocketEvents::Register(const std::shared_ptr<SocketChannel>& channel, uint32_t message, uint32_t serial,
                            SocketEventPoster poster) {
  std::lock_guard lifetime(lifetime_);
  if (!thread_.joinable()) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
      return false;
    }
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    stop_ = false;
    try {
      thread_ = std::thread(&SocketEvents::Run, this);
    } catch (const std::system_error&) {
      close(wakeRead_);
      close(wakeWrite_.exchange(-1));
      wakeRead_ = -1;
      return false;
    }
  }
  SetSocketBlocking(channel->Socket(), false);
  {
    std::lock_guard lock(mutex_);
    std::lock_guard channelLock(channel->mutex_);
    channel->events_ = this;
    channel->message_ = message;
    channel->serial_ = serial;
    channel->poster_ = poster;
    channels_[serial] = channel;
  }
  Wake();
  return true;
}

void SocketEvents::Unregister(uint32_t serial) {
  std::unique_lock lifetime(lifetime_);
  {
    std::lock_guard lock(mutex_);
    const auto found = channels_.find(serial);
    if (found == channels_.end()) {
      return;
    }
    {
      std::lock_guard channelLock(found->second->mutex_);
      found->second->events_ = nullptr;
      found->second->arrived_.notify_all();
    }
    channels_.erase(found);
    if (!channels_.empty()) {
      Wake();
      return;
    }
  }
  Stop(lifetime);
}

void SocketEvents::Clear() {
  std::unique_lock lifetime(lifetime_);
  {
    std::lock_guard lock(mutex_);
    for (auto& [serial, channel] : channels_) {
      std::lock_guard channelLock(channel->mutex_);
      channel->events_ = nullptr;
      channel->arrived_.notify_all();
    }
    channels_.clear();
  }
  Stop(lifetime);
}

void SocketEvents::Stop(std::unique_lock<std::mutex>&) {
  if (!thread_.joinable()) {
    return;
  }
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  Wake();
  thread_.join();
  close(wakeRead_);
  close(wakeWrite_.exchange(-1));
  wakeRead_ = -1;
}

size_t SocketEvents::Count() {
  std::lock_guard lock(mutex_);
  return channels_.size();
}

bool SocketEvents::ThreadRunning() {
  std::lock_guard lifetime(lifetime_);
  return thread_.joinable();
}

void SocketEvents::HandlerDone(SocketChannel& channel) {
  uint32_t event = 0;
  uint32_t message = 0;
  uint32_t serial = 0;
  uint32_t error = 0;
  SocketEventPoster poster = nullptr;
  {
    std::lock_guard lock(channel.mutex_);
    channel.readOutstanding_ = false;
    event = channel.NextEvent(SocketChannel::Clock::now());
    message = channel.message_;
    serial = channel.serial_;
    error = channel.error_;
    poster = channel.poster_;
  }
  if (event != 0 && poster != nullptr) {
    poster(message, serial, event, event == kSocketCloseEvent ? error : 0);
  }
}

void SocketEvents::Wake() {
  // Only while the thread runs; a full pipe already holds a wake-up.
  const int wakeWrite = wakeWrite_.load();
  if (wakeWrite >= 0) {
    const uint8_t byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeWrite, &byte, 1);
  }
}

void SocketEvents::Run() {
  struct Posting {
    SocketEventPoster poster;
    uint32_t message;
    uint32_t serial;
    uint32_t event;
    uint32_t error;
  };
  std::vector<pollfd> polled;
  std::vector<uint32_t> serials;
  std::vector<Posting> postings;
  for (;;) {
    polled.assign(1, pollfd{wakeRead_, POLLIN, 0});
    serials.assign(1, 0);
    int timeout = -1;
    {
      std::lock_guard lock(mutex_);
      if (stop_) {
        return;
      }
      const auto now = SocketChannel::Clock::now();
      for (const auto& [serial, channel] : channels_) {
        std::lock_guard channelLock(channel->mutex_);
        short events = 0;
        if (!channel->closePosted_ && channel->error_ == 0) {
          if (!channel->endOfStream_ && !channel->Full()) {
            events |= POLLIN;
          } else if (!channel->endOfStream_ && !channel->peerHungUp_) {
            // A full buffer still watches for the peer's end and resets:
            // a handler that reads nothing must still get its close event.
            events |= POLLRDHUP;
          }
          if (!channel->queued_.Empty()) {
            events |= POLLOUT;
          }
        }
        if (channel->closing_ && !channel->closePosted_) {
          const auto left =
              std::chrono::duration_cast<std::chrono::milliseconds>(channel->closeDeadline_ - now).count() + 1;
          const int wait = static_cast<int>(std::clamp<long long>(left, 0, 60000));
          timeout = timeout < 0 ? wait : std::min(timeout, wait);
        }
        if (events != 0) {
          polled.push_back(pollfd{channel->socket_, events, 0});
          serials.push_back(serial);
        }
      }
    }
    const int ready = poll(polled.data(), polled.size(), timeout);
    if (ready < 0 && errno != EINTR) {
      return;
    }
    if (polled[0].revents != 0) {
      uint8_t drained[64];
      while (read(wakeRead_, drained, sizeof drained) > 0) {
      }
    }
    postings.clear();
    {
      std::lock_guard lock(mutex_);
      if (stop_) {
        return;
      }
      const auto now = SocketChannel::Clock::now();
      for (size_t index = 1; index < polled.size(); ++index) {
        if (polled[index].revents == 0) {
          continue;
        }
        // A socket unregistered since the poll may already be closed and
        // its number given to another file: it is not touched.
        const auto found = channels_.find(serials[index]);
        if (found == channels_.end()) {
          continue;
        }
        SocketChannel& channel = *found->second;
        std::lock_guard channelLock(channel.mutex_);
        if (polled[index].revents & POLLOUT) {
          channel.Flush();
        }
        if (polled[index].revents & (POLLIN | POLLHUP | POLLERR)) {
          channel.Fill();
        }
        if ((polled[index].revents & (POLLRDHUP | POLLHUP)) && !channel.endOfStream_) {
          channel.peerHungUp_ = true;
        }
        if ((polled[index].revents & POLLERR) && channel.error_ == 0) {
          int error = 0;
          socklen_t length = sizeof error;
          if (getsockopt(channel.socket_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error != 0) {
            channel.Fail(error);
          }
        }
      }
      for (const auto& [serial, channel] : channels_) {
        std::lock_guard channelLock(channel->mutex_);
        const uint32_t event = channel->NextEvent(now);
        if (event != 0 && channel->poster_ != nullptr) {
          postings.push_back({channel->poster_, channel->message_, serial, event,
                              event == kSocketCloseEvent ? channel->error_ : 0});
        }
      }
    }
    for (const Posting& posting : postings) {
      posting.poster(posting.message, posting.serial, posting.event, posting.error);
    }
  }
}

}  // namespace platform
