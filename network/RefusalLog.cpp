#include "network/RefusalLog.h"

#include "network/NetworkLibrary.h"
#include "network/Sockets.h"

void RefusalLog::Refuse(const sockaddr_in& sender, const char* why) {
  ++count_;
  const Clock::time_point now = Clock::now();
  if (logged_ && now - last_ < std::chrono::seconds(1)) {
    ++unlogged_;
    return;
  }
  char address[kDottedAddressLength + 1];
  CopyDottedAddress(sender, address);
  PrintNetworkMessage("LumoConnection (%s): dropped a datagram from %s: %s (%u more dropped unlogged)\n", label_,
                      address, why, unlogged_);
  logged_ = true;
  last_ = now;
  unlogged_ = 0;
}
