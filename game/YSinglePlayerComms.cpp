#include "game/YSinglePlayerComms.h"

void YSinglePlayerComms::Send(COrderPackage* package) {
  if (package != nullptr) {
    queue_.emplace_back(package, ycPackageRelease{1});
  }
}

bool YSinglePlayerComms::Flush(uint32_t frame) {
  // An order the accept callback gives waits for the next frame: only the
  // orders queued before this flush are delivered now.
  std::deque<ycPackagePointer> due;
  due.swap(queue_);
  for (ycPackagePointer& package : due) {
    Deliver(package.get(), frame);
    package.reset();
  }
  return true;
}
