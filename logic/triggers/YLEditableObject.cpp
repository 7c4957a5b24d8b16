#include "logic/triggers/YLEditableObject.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLEditableObject> classOfYLEditableObject(kVersion_1_6_0_6, "YLEditableObject", "LumoObject");

}  // namespace

const char* YLEditableObject::GetClassName() const { return "YLEditableObject"; }

void YLEditableObject::ListProperties(tStrings&, tStrings&) {}

int32_t YLEditableObject::SetProperty(int32_t index, const char*) { return index; }

void YLEditableObject::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "editable");
  }
}
