#include "fuzz/FuzzStreams.h"

#include "base/LumoClass.h"
#include "base/LumoObject.h"
#include "fuzz/FuzzCheck.h"

FuzzInputStream::FuzzInputStream(const uint8_t* data, size_t size) : bytes_(data, data + size) {
  bytes_.push_back(0);
  usable_ = size > 0 && stream.OpenBuffer(bytes_.data(), static_cast<uint32_t>(size), 1, 0);
}

std::string SavedRecord(LumoObject& object) {
  LumoMemoryStream saved;
  FuzzRequire(saved.OpenNew(64, 1, 0) && saved.SetGrowth(256) != 0, "a memory stream opens for writing");
  FuzzRequire(object.SaveObject(&saved, 0), "a loaded object saves");
  return std::string(reinterpret_cast<const char*>(saved.buffer), saved.position);
}

LumoObject* ReloadRecord(const std::string& record, const LumoObject& original) {
  FuzzInputStream input(reinterpret_cast<const uint8_t*>(record.data()), record.size());
  FuzzRequire(input.Usable(), "a saved record opens as a stream");
  LumoObject* reloaded = LoadObject(&input.stream, nullptr);
  FuzzRequire(reloaded != nullptr, "a saved record loads again");
  FuzzRequire(input.stream.GetPosition() == static_cast<int32_t>(record.size()), "a saved record is read to its end");
  FuzzRequire(FindClass(reloaded->GetClassName()) == FindClass(original.GetClassName()),
              "a saved record loads as its class");
  return reloaded;
}
