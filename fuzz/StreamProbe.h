#pragma once

#include <cstdint>

#include "base/LumoList.h"
#include "base/TextUtils.h"
#include "base/tBuffer.h"
#include "base/tString.h"

class LumoProperty;
class LumoStream;

// A registered class for the object stream target: a list (so its records
// carry items) with one field of every generic property type and an
// embedded object, so that one record reaches every field reader.
class FuzzProbe : public LumoList {
 public:
  FuzzProbe() = default;
  ~FuzzProbe() override;
  FuzzProbe(const FuzzProbe&) = delete;
  FuzzProbe& operator=(const FuzzProbe&) = delete;

  const char* GetClassName() const override { return "FuzzProbe"; }

  template <auto Field>
  bool LoadField(LumoStream* stream, const LumoProperty* property) {
    return LoadPropertyFrom(stream, property, &(this->*Field));
  }
  template <auto Field>
  bool SaveField(LumoStream* stream, const LumoProperty* property) {
    return SavePropertyTo(stream, property, &(this->*Field));
  }

  LumoObject* child = nullptr;  // owned
  bool flag = false;
  bool byteFlag = false;
  int8_t small = 0;
  int16_t shortValue = 0;
  int32_t integer = 0;
  int64_t wide = 0;
  float single = 0;
  double precise = 0;
  tString string;
  tBuffer bytes;
  uint8_t unsignedByte = 0;
  uint16_t word = 0;
  uint32_t set = 0;
  char four[4] = {};
  tCharStr text = nullptr;  // owned
};
