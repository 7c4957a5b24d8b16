#include "logic/core/COrderPackage.h"

#include <cstring>
#include <utility>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrder.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/OrderPayload.h"

namespace {

// Kinds above this (as an unsigned number, so every negative kind too) are
// never orders.
constexpr uint32_t kLastOrderKind = 60;
constexpr int32_t kPlayerBytes = 4;

// The player a payload names, for log lines; 0 (no player) when the payload
// is too short to hold one.
int32_t PayloadPlayer(const COrderPackage& package) {
  if (package.Data == nullptr || package.Length < kPlayerBytes) {
    return 0;
  }
  uint8_t bytes[kPlayerBytes];
  std::memcpy(bytes, package.Data.get(), sizeof bytes);
  return static_cast<int32_t>(uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
                              (uint32_t{bytes[3]} << 24));
}

// The package as the exception report shows it: its address and, when there
// is one, kind, length, payload address and each payload byte. A byte is
// shown as a signed char widened to an int, so 0x80 reads "ffffff80"; it is
// converted to the unsigned value of that int before formatting.
void DumpPackage(const COrderPackage* package) {
  DebugPrint("::AcceptOrder exception\n");
  DebugPrint("   op -> p=%p", static_cast<const void*>(package));
  if (package != nullptr) {
    const uint8_t* bytes = package->Data.get();
    DebugPrint(", t=%d, l=%d, data(0x%p)=", package->Kind, package->Length, static_cast<const void*>(bytes));
    for (int32_t index = 0; bytes != nullptr && index < package->Length; ++index) {
      const auto widened = static_cast<int32_t>(static_cast<int8_t>(bytes[index]));
      DebugPrint("%02x ", static_cast<uint32_t>(widened));
    }
  }
  DebugPrint("\n");
}

// The answer for a kind whose order the logic ignores: true, as peers send
// them, with a log line.
bool IgnoreKind(int32_t kind, const COrderPackage& package, const char* why) {
  DebugPrint("::AcceptOrder: ignored kind %d (%s) of player %d: %s\n", kind, OrderKindName(kind),
             PayloadPlayer(package), why);
  return true;
}

bool Apply(CLogic& logic, const COrderPackage& package) {
  const int32_t kind = package.Kind;
  if (kind == OrderKind::kUnknown) {
    try {
      logic.NotifyUnknownOrder(package.Length, package.Data.get());
    } catch (...) {
      DebugPrint("::AcceptOrder() excpetion in TheLogic->NotifyUnknownOrder\n");
      throw;
    }
    return true;
  }
  std::unique_ptr<COrder> order = CreateOrder(kind);
  if (order == nullptr) {
    return IgnoreKind(kind, package, "no order of this kind");
  }
  if (!order->Unpack(package)) {
    LogRefusedOrder(kind, PayloadPlayer(package), "the payload length does not fit the kind");
    return false;
  }
  return logic.ApplyOrder(*order);
}

}  // namespace

COrderPackage* PayloadWriter::Package(int32_t kind) const {
  auto package = std::make_unique<COrderPackage>();
  package->Create(static_cast<int16_t>(kind), bytes, length);
  return package.release();
}

void COrderPackage::Create(int16_t kind, const void* data, int32_t length) {
  // The new payload is copied before the old one goes: the data may be part
  // of it.
  std::unique_ptr<uint8_t[]> copy;
  if (length > 0 && data == nullptr) {
    DebugPrint("COrderPackage::Create: no data for a payload of %d bytes (kind %d)\n", length, kind);
  } else if (length > 0) {
    copy = std::make_unique<uint8_t[]>(static_cast<size_t>(length));
    std::memcpy(copy.get(), data, static_cast<size_t>(length));
  }
  Data = std::move(copy);
  Kind = kind;
  Length = Data != nullptr ? length : 0;
}

void COrderPackage::Destroy() {
  Data.reset();
  Kind = 0;
  Length = 0;
}

COrderPackage* CopyOrderPackage(const COrderPackage* package) {
  if (package == nullptr) {
    return nullptr;
  }
  try {
    auto copy = std::make_unique<COrderPackage>();
    // A copy of a malformed record (no payload, or a negative length) is
    // an empty one of the same kind.
    copy->Create(package->Kind, package->Data.get(), package->Data != nullptr ? package->Length : 0);
    return copy.release();
  } catch (...) {
    DebugPrint("exception in CopyOrderPackage\n");
    throw;
  }
}

void DeleteOrderPackage(COrderPackage* package) {
  try {
    std::unique_ptr<COrderPackage> owned(package);
  } catch (...) {
    DebugPrint("exception in DeleteOrderPackage\n");
    throw;
  }
}

bool AcceptOrder(COrderPackage* package) {
  if (package == nullptr) {
    DebugPrint("::AcceptOrder: no package\n");
    return false;
  }
  CLogic* logic = TheLogic();
  const int32_t kind = package->Kind;
  if (logic == nullptr) {
    LogRefusedOrder(kind, PayloadPlayer(*package), "there is no logic");
    return false;
  }
  // A peer's record is checked before anything reads its payload.
  if (package->Length < 0) {
    LogRefusedOrder(kind, 0, "the payload length is negative");
    return false;
  }
  if (package->Length > 0 && package->Data == nullptr) {
    LogRefusedOrder(kind, 0, "the payload is missing");
    return false;
  }
  if (static_cast<uint32_t>(kind) > kLastOrderKind) {
    return IgnoreKind(kind, *package, "not an order kind");
  }
  try {
    return Apply(*logic, *package);
  } catch (...) {
    DumpPackage(package);
    throw;
  }
}
