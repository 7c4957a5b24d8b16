#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoExport.h"

// One order as it travels from the player who gives it to the logic of every
// machine: its kind and a payload of little-endian bytes in the layout of the
// kind. The order builders make packages; the comms layer carries them and
// hands each to AcceptOrder at the frame gate.
//
// The record is the library's and the game program's in common: the game
// reads the three fields directly, empties packages it holds in its own
// records with Destroy, and fills them only through Create. The payload is
// the package's own: null exactly when the length is 0.
struct COrderPackage {
  COrderPackage() = default;
  COrderPackage(const COrderPackage&) = delete;
  COrderPackage& operator=(const COrderPackage&) = delete;

  // Frees any payload held, sets the kind and, for a length above 0, keeps
  // a copy of length bytes of data (the caller keeps its buffer). A length
  // above 0 without data is logged and leaves the payload empty.
  COGITO_API void Create(int16_t kind, const void* data, int32_t length);
  // Frees the payload; kind and length become 0.
  COGITO_API void Destroy();

  int16_t Kind = 0;  // read as a signed 16-bit value
  std::unique_ptr<uint8_t[]> Data;
  int32_t Length = 0;
};

// A new package with the kind and a copy of the payload (an empty payload
// stays empty); null for none. The caller owns it. An exception is logged
// and passed on.
COGITO_API COrderPackage* CopyOrderPackage(const COrderPackage* package);
// Frees a package the library made, with its payload; null is ignored.
COGITO_API void DeleteOrderPackage(COrderPackage* package);
// Applies one delivered package to the issuing player of the current logic
// at once; the package stays the caller's. True for an applied order, an
// unknown-order event (kind 0) and a kind that is ignored (above 60, or one
// without an order); false for a package that is malformed, refused or of a
// player the logic does not have, and without a logic. A refused package
// changes nothing. Exceptions are logged with a dump of the package and
// passed on.
COGITO_API bool AcceptOrder(COrderPackage* package);
