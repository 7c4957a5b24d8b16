#pragma once

// Order packages as tests hold them, and the little-endian payload bytes
// they are compared with.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "logic/core/COrderPackage.h"

namespace order_testing {

using Bytes = std::vector<uint8_t>;

struct PackageDeleter {
  void operator()(COrderPackage* package) const { DeleteOrderPackage(package); }
};
using Package = std::unique_ptr<COrderPackage, PackageDeleter>;

inline Bytes PayloadOf(const COrderPackage& package) {
  if (package.Data == nullptr) {
    return {};
  }
  return Bytes(package.Data.get(), package.Data.get() + package.Length);
}

// Little-endian bytes of 32-bit values.
inline Bytes Le(std::initializer_list<int32_t> values) {
  Bytes bytes;
  for (const int32_t value : values) {
    const auto bits = static_cast<uint32_t>(value);
    for (int32_t shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
  }
  return bytes;
}

inline Bytes operator+(Bytes left, const Bytes& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

}  // namespace order_testing
