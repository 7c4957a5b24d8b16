#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class LumoObject;

// The bytes of one object record, written through SaveObject with the given
// stream header version (0: the current one); empty, with a line on standard
// error, when the object cannot be saved.
std::string SeedRecordOf(LumoObject& object, uint32_t headerVersion = 0);

// The bytes with the four at offset replaced by a big-endian value, as the
// object stream stores its numbers; bytes past the end are left out.
std::string PatchedBigEndian(std::string bytes, size_t offset, uint32_t value);
