#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::filesystem::path RuntimeFolder() {
  for (const char* variable : {"YOB_RUNTIME_DIR", "XDG_RUNTIME_DIR"}) {
    const char* folder = std::getenv(variable);
    if (folder != nullptr && folder[0] != '\0') {
      return folder;
    }
  }
  return "/tmp";
}

InstanceLock::InstanceLock(const std::string& name) {
  const std::filesystem::path file = RuntimeFolder() / (name + ".lock");
  descriptor_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (descriptor_ < 0) {
    return;
  }
  if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) {
    result_ = LockResult::Acquired;
    return;
  }
  result_ = errno == EWOULDBLOCK ? LockResult::AlreadyHeld : LockResult::CannotCreate;
  ::close(descriptor_);
  descriptor_ = -1;
}

InstanceLock::~InstanceLock() {
  if (descriptor_ >= 0) {
    // Closing the file releases the lock; the file stays for the next holder.
    ::close(descriptor_);
  }
}

}  // namespace platform
