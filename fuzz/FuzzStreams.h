#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"

class LumoObject;

// Memory streams for the targets whose input is the bytes of an object
// stream.

// A stream that reads a copy of the input. A memory stream needs a block
// even for no bytes, so an empty input gets one byte that is never read.
class FuzzInputStream {
 public:
  FuzzInputStream(const uint8_t* data, size_t size);
  bool Usable() const { return usable_; }

  LumoMemoryStream stream;

 private:
  std::vector<uint8_t> bytes_;
  bool usable_ = false;
};

// The object's record as SaveObject writes it into a growing memory stream;
// a save that fails is a finding.
std::string SavedRecord(LumoObject& object);

// Loads the record, which must load again as the same class and be read to
// its end; answers the object (the caller destroys it).
LumoObject* ReloadRecord(const std::string& record, const LumoObject& original);
