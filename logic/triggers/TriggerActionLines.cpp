#include "logic/triggers/TriggerActionLines.h"

#include "base/LumoStream.h"
#include "logic/triggers/tStrings.h"

// ---- Listing ----

void ActionLineLister::Line(const char* label, const char* value) {
  labels_.Add(label);
  values_.Add(value);
}

void ActionLineLister::Int(const char* label, int32_t value) { Line(label, FormatInt(value).text); }

void ActionLineLister::Bool(const char* label, bool value) { Line(label, FormatBool(value ? 1 : 0).text); }

void ActionLineLister::Text(const char* label, const char* value) {
  Line(label, value != nullptr ? value : " ");
}

void ActionLineLister::List(const char* countLabel, const char* entryFormat, const tIdList& list) {
  ListIdList(labels_, values_, countLabel, entryFormat, list);
}

// ---- Setting ----

bool ActionLineSetter::Take() { return index_-- == 0; }

void ActionLineSetter::Int(int32_t& field) {
  if (Take()) {
    field = ParseInt(text_);
  }
}

void ActionLineSetter::Bool(bool& field) {
  if (Take()) {
    field = ParseBool(text_);
  }
}

void ActionLineSetter::Text(tCharStr& field) {
  if (!Take()) {
    return;
  }
  if (text_ == nullptr) {
    FreeCharStr(field);
  } else {
    SetCharStr(field, text_);
  }
}

// The list is the last of the lines walked so far, so the id-list rule of
// the editor applies with the count at the remaining index 0.
void ActionLineSetter::List(tIdList& list) { index_ = SetIdListProperty(list, index_, 0, text_); }

// ---- Stream forms ----

bool LoadFlagInteger(LumoStream* stream, bool& flag) {
  uint32_t stored = 0;
  if (!stream->ReadCardinal(stored)) {
    return false;
  }
  flag = (stored & 0xFFu) != 0;
  return true;
}

bool SaveFlagInteger(LumoStream* stream, bool flag) { return stream->WriteCardinal(flag ? 1u : 0u); }
