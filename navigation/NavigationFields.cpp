#include "navigation/NavigationFields.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"

bool CheckStoredCount(LumoStream* stream, const char* owner, const char* field, int64_t stored,
                      int64_t bytesEach) {
  if (stored < 0) {
    DebugPrint("%s: the stored count %lld of %s is not a valid count\n", owner,
               static_cast<long long>(stored), field);
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  const int64_t limit = remaining >= 0 ? remaining : static_cast<int64_t>(kMaxStreamBlock);
  if (stored > limit / bytesEach) {
    DebugPrint("%s: the stored count %lld of %s exceeds the %lld bytes left\n", owner,
               static_cast<long long>(stored), field, static_cast<long long>(limit));
    return false;
  }
  return true;
}

bool ReadBoundedCount(LumoStream* stream, const char* owner, const char* field, int32_t& count) {
  count = 0;
  int32_t stored = 0;
  if (stream == nullptr || !stream->ReadInteger(stored) ||
      !CheckStoredCount(stream, owner, field, stored, 4)) {
    return false;
  }
  count = stored;
  return true;
}
