#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// ---- Socket errors ----

// The socket service's error number of an errno value (EADDRINUSE is 10048,
// ECONNRESET 10054, ...); 0 for 0. Unknown values map to a number the
// service reports as a general error.
int32_t SocketErrorCode(int error);
// Switches a socket between blocking and non-blocking; false with errno set.
bool SetSocketBlocking(int socket, bool blocking);

// ---- Library threads ----

// A stop request that a thread waits on together with its socket, so the
// thread sees it at once. Raised once; stays raised.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // False when the system gave no descriptor for it (the thread cannot run).
  bool Valid() const { return descriptor_ >= 0; }
  void Raise();
  bool Raised() const { return raised_; }
  // Readable once raised; for poll.
  int Descriptor() const { return descriptor_; }

 private:
  int descriptor_;
  std::atomic<bool> raised_ = false;
};

// What WaitForSocket saw.
enum class SocketWait { Ready, Stopped, TimedOut };
// Waits until the socket has the events asked for (POLLIN, POLLOUT), the
// stop is raised, or the time is up. A stop wins over readiness.
SocketWait WaitForSocket(int socket, short events, const StopSignal& stop, std::chrono::milliseconds limit);

// ---- Socket events ----
// Registered connection sockets raise window messages: a read event when
// bytes can be read, a close event when the connection ends. One event
// thread per SocketEvents polls every registered socket, receives into each
// socket's own buffer and sends what its queue holds, so neither Receive
// nor Send ever blocks on the socket itself.

constexpr uint32_t kSocketReadEvent = 1;
constexpr uint32_t kSocketCloseEvent = 32;

// Delivers one event: the registration's message number and serial, the
// event and, for a close, the socket service's error number (0 for none).
// Called on the event thread, or on the thread that ended a handler.
using SocketEventPoster = void (*)(uint32_t message, uint32_t serial, uint32_t event, uint32_t error);

class SocketEvents;

// The bytes of one connection socket, both ways. The socket itself stays
// the caller's: the channel never closes it.
class SocketChannel {
 public:
  enum class ReceiveResult { Complete, NothingWaiting, Dropped, Closed };
  enum class SendResult { Done, Closed, Overflow, Failed };

  // Bytes kept received ahead of the reader; the socket holds the rest.
  static constexpr size_t kReceiveCapacity = 64 * 1024;
  // A send queue longer than this closes the connection.
  static constexpr size_t kSendQueueLimit = 1024 * 1024;

  explicit SocketChannel(int socket) : socket_(socket) {}
  SocketChannel(const SocketChannel&) = delete;
  SocketChannel& operator=(const SocketChannel&) = delete;

  // Exactly size bytes, or none: NothingWaiting (at once, nothing taken)
  // when no byte has arrived; otherwise it waits up to waitLimit for the
  // rest and gives Dropped when they do not come (the part is lost and the
  // channel closes). Closed after the connection closed or was broken.
  ReceiveResult Receive(void* buffer, size_t size, std::chrono::milliseconds waitLimit);
  // Sends what the socket takes at once and queues the rest in order;
  // never blocks. Done when all is sent or queued.
  SendResult Send(const void* data, size_t length);
  // The owner closes: the sending side is shut down once the queue is sent,
  // no read event follows, and a close event comes when the peer closes or
  // closeLimit after this call, whichever is first.
  void Shutdown(std::chrono::milliseconds closeLimit);
  // The socket service's error number that ended the connection, or 0.
  uint32_t ErrorCode();
  // Shutdown was called.
  bool Closing();
  // The connection is over and no longer registered: frees both buffers,
  // which a peer that sent much and never read could otherwise keep large
  // for the rest of the run. Every later Receive and Send gives Closed.
  void Release();
  // Bytes the buffers hold in memory, used or not.
  size_t BufferBytes();
  int Socket() const { return socket_; }

 private:
  friend class SocketEvents;
  using Clock = std::chrono::steady_clock;

  // A byte queue that takes from its front and appends at its back.
  struct ByteQueue {
    std::vector<uint8_t> bytes;
    size_t start = 0;
    size_t Size() const { return bytes.size() - start; }
    bool Empty() const { return Size() == 0; }
    const uint8_t* Front() const { return bytes.data() + start; }
    void Append(const uint8_t* data, size_t length);
    void Consume(size_t length);
    // Keeps the storage for the next bytes.
    void Clear();
    // Gives the storage back.
    void Release();
  };

  // Decides the next event under the lock; 0 for none. Marks it posted.
  uint32_t NextEvent(Clock::time_point now);
  // No more bytes will be offered: the stream ended, failed, or the peer
  // hung up while the buffer was full (what it still holds in the socket is
  // only reached if the reader makes room).
  bool Ended() const;
  // The buffer takes no more until the reader makes room.
  bool Full() const;
  // Receives what the socket has into the buffer (the event thread).
  void Fill();
  // Sends from the queue; shuts the sending side when closing and sent.
  void Flush();
  void Fail(int error);
  void WakeEvents();

  const int socket_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  ByteQueue received_;
  ByteQueue queued_;
  SocketEvents* events_ = nullptr;  // while registered
  uint32_t message_ = 0;
  uint32_t serial_ = 0;
  SocketEventPoster poster_ = nullptr;
  bool endOfStream_ = false;       // the peer shut its sending side
  bool peerHungUp_ = false;        // the peer's end or reset was seen, perhaps behind unread bytes
  uint32_t error_ = 0;             // the connection failed with this error
  bool broken_ = false;            // a part was dropped or the queue overflowed
  bool closing_ = false;           // the owner closes
  bool sendingShut_ = false;
  Clock::time_point closeDeadline_{};
  bool readOutstanding_ = false;   // a read event is on its way or handled
  bool closePosted_ = false;
  bool newBytes_ = false;          // bytes came since the last read event
  bool consumed_ = false;          // the reader took bytes since the last read event
};

// The event thread and its registrations. The thread runs while at least
// one socket is registered and is joined when the last one goes.
class SocketEvents {
 public:
  SocketEvents() = default;
  ~SocketEvents();
  SocketEvents(const SocketEvents&) = delete;
  SocketEvents& operator=(const SocketEvents&) = delete;

  // Registers a channel under a serial, which every event it raises
  // carries. Bytes already waiting raise a read event. False when the
  // thread or its wake pipe cannot be made.
  bool Register(const std::shared_ptr<SocketChannel>& channel, uint32_t message, uint32_t serial,
                SocketEventPoster poster);
  // After it returns the thread no longer touches the channel's socket;
  // joins the thread when this was the last registration. Not from the
  // event thread.
  void Unregister(uint32_t serial);
  // The read handler of a channel's read event has returned: raises the
  // next read event while bytes remain and the handler took some (or new
  // ones came), else the close event once the connection has ended.
  void HandlerDone(SocketChannel& channel);
  // Drops every registration and joins the thread.
  void Clear();
  size_t Count();
  bool ThreadRunning();

 private:
  friend class SocketChannel;
  void Run();
  void Wake();
  void Stop(std::unique_lock<std::mutex>& lifetime);

  std::mutex lifetime_;  // starts and joins the thread; taken before mutex_
  std::mutex mutex_;     // the registrations; taken before a channel's lock
  std::map<uint32_t, std::shared_ptr<SocketChannel>> channels_;
  std::thread thread_;
  bool stop_ = false;
  int wakeRead_ = -1;
  std::atomic<int> wakeWrite_ = -1;
};

}  // namespace platform
