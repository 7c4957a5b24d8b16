#pragma once

#include <filesystem>
#include <string>

namespace platform {

// ---- Single instance ----

// The folder for the process's lock files: YOB_RUNTIME_DIR, else
// XDG_RUNTIME_DIR, else /tmp.
std::filesystem::path RuntimeFolder();

enum class LockResult {
  Acquired,      // this process now holds the lock
  AlreadyHeld,   // another holder has it
  CannotCreate,  // the lock file cannot be made or locked
};

// A named lock that only one holder at a time can have: an advisory lock on
// the file "<name>.lock" in the runtime folder. Released with the object
// (or when the process ends, whatever way it ends).
class InstanceLock {
 public:
  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  LockResult Result() const { return result_; }
  bool Held() const { return result_ == LockResult::Acquired; }
  // A number that names the lock in log lines.
  int Handle() const { return descriptor_; }

 private:
  int descriptor_ = -1;
  LockResult result_ = LockResult::CannotCreate;
};

}  // namespace platform
