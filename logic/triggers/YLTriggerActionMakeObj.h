#pragma once

#include <cstddef>
#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/YLTriggerAction.h"

// Makes a thing from a level's type keyword at a place, for an owner.
class YLTriggerActionMakeObj : public YLTriggerAction {
 public:
  YLTriggerActionMakeObj();
  ~YLTriggerActionMakeObj() override;
  YLTriggerActionMakeObj(const YLTriggerActionMakeObj&) = delete;
  YLTriggerActionMakeObj& operator=(const YLTriggerActionMakeObj&) = delete;

  const char* GetClassName() const override;
  // "  x", "  y", "  ori", "  owner", "  name".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "make %s" with the keyword, "make obj" without one; a long keyword is cut
  // to the buffer.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Nothing without a keyword.
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadO(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveO(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);

  int32_t X = 0;
  int32_t Y = 0;
  // The orientation; only its lowest byte is used.
  int32_t O = 0;
  int32_t Owner = 0;
  // The type keyword; owned, none by default.
  tCharStr Name = nullptr;
};
