#pragma once

#include "logic/core/ThingInfo.h"

// The running logic's side of a record's debug text: the thing's own line,
// the name of its type from the logic's string library, and its current
// move's name and length. It works with the logic that the things share, so
// one instance serves every logic; the logic installs it while it runs.
class ThingDebugSource final : public ThingInfoDebugSource {
 public:
  void AppendThingText(const ThingInfo& info, tString& text) const override;
  const char* GetTypeName(int32_t gfx) const override;
  const char* GetMoveName(const ThingInfo& info) const override;
  int32_t GetMoveLength(const ThingInfo& info) const override;

  static const ThingDebugSource& Instance();
};
